#include "platform/audio/audio_error.h"
#include "platform/audio/sample_sink.h"
namespace tonvara::audio {
std::unique_ptr<SampleSink> OpenWmaSink(const SinkTarget& t, const OutputSettings&) { Fail(t.name, "WMA 未实现"); }
}
