// The FFmpeg command-line tools as an independent maker and reader of audio
// files for the tag tests.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tagtest {

// Runs a program; returns its exit code and leaves its standard output in out.
int Run(const std::string& program, const std::vector<std::string>& args, std::string* out = nullptr);

// A one-second sine encoded with the given FFmpeg output options
// (for example {"-c:a", "libvorbis"}); fails the test when FFmpeg fails.
void MakeSine(const std::string& path, const std::vector<std::string>& outputOptions);

// The tags ffprobe reports for the container and its first stream (where Ogg
// keeps them), keys in lower case.
std::map<std::string, std::string> ProbeTags(const std::string& path);

// The decoded samples as 32-bit floats, raw bytes.
std::string DecodeSamples(const std::string& path);

}  // namespace tagtest
