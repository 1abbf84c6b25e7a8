// The CLAP binary interface: the byte streams state is saved into and loaded from.
// Either side may move fewer bytes than asked, so callers loop until done.
#pragma once

#include "clap/abi/clap_types.h"

struct clap_istream_t {
  void* ctx;  // the owner's
  // Plug-in, on the thread of the call that handed the stream over: copies up to `size`
  // bytes into `buffer`. Returns the bytes read, 0 at the end of the data, -1 on error.
  int64_t(CLAP_ABI* read)(const clap_istream_t* stream, void* buffer, uint64_t size);
};
QUINDLE_CLAP_CHECK_SIZE(clap_istream_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_istream_t, ctx, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_istream_t, read, 1);

struct clap_ostream_t {
  void* ctx;  // the owner's
  // Plug-in, on the thread of the call that handed the stream over: takes up to `size`
  // bytes from `buffer`. Returns the bytes written or -1 on error; a caller treats 0 as
  // failure rather than trying again for ever.
  int64_t(CLAP_ABI* write)(const clap_ostream_t* stream, const void* buffer, uint64_t size);
};
QUINDLE_CLAP_CHECK_SIZE(clap_ostream_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_ostream_t, ctx, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_ostream_t, write, 1);
