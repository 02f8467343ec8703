// libjpeg ends the process on an error unless its error handler jumps
// back: the readers of pictures install these handlers and set `back`.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace morvel::jpeg {

struct Errors {
  jpeg_error_mgr manager;
  std::jmp_buf back;
};

[[noreturn]] inline void jumpBack(j_common_ptr info) { std::longjmp(reinterpret_cast<Errors*>(info->err)->back, 1); }

inline void stayQuiet(j_common_ptr) {}

// Points `info` at `errors`, whose handlers jump back instead of ending.
inline void installErrors(jpeg_decompress_struct& info, Errors& errors) {
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = jumpBack;
  errors.manager.output_message = stayQuiet;
}

}  // namespace morvel::jpeg
