// The Ogg Vorbis comment-editing layer: opens a stream through read and write
// callbacks, hands out its comment list, and writes the whole stream anew
// with a comment header rebuilt from that list.
#pragma once

#include <vorbis/codec.h>

#include <cstddef>

using vcedit_read_func = std::size_t (*)(void* buffer, std::size_t size, std::size_t count, void* source);
using vcedit_write_func = std::size_t (*)(const void* buffer, std::size_t size, std::size_t count, void* destination);

struct vcedit_state;

vcedit_state* vcedit_new_state();

// Reads the three Vorbis headers of the first logical stream. 0 on success;
// otherwise non-zero with the state's error text set.
int vcedit_open_callbacks(vcedit_state* state, void* source, vcedit_read_func read, vcedit_write_func write);

// The comment list of the opened stream, owned by the state; what it holds
// when vcedit_write is called is what gets written.
vorbis_comment* vcedit_comments(vcedit_state* state);

// Writes the whole stream to destination: the first logical stream with its
// rebuilt comment header and every audio page as it was (granule positions
// kept, page numbers shifted when the header takes a different number of
// pages), then any further chained streams byte for byte. 0 on success.
int vcedit_write(vcedit_state* state, void* destination);

// The last error text, or null when there is none.
const char* vcedit_error(const vcedit_state* state);

// Frees the state and everything it owns.
void vcedit_clear(vcedit_state* state);
