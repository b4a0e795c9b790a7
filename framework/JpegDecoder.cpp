#include "framework/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

namespace vx {
namespace {

// libjpeg reports fatal errors through a callback that must not return; the decoder
// jumps back to DecodeJpeg instead of letting libjpeg call exit().
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void OnMessage(j_common_ptr) {}  // warnings are not shown to anyone

}  // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedJpeg& out, std::string& error) {
    out = DecodedJpeg{};
    if (data == nullptr || size == 0) {
        error = "empty JPEG data";
        return false;
    }
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.output_message = OnMessage;
    // Everything that must survive a longjmp lives outside this frame's locals that
    // change after setjmp: `out` is a reference and is only resized before decoding.
    if (setjmp(errors.jump)) {
        error = errors.message;
        jpeg_destroy_decompress(&info);
        out = DecodedJpeg{};
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);

    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    out.Width = width;
    out.Height = height;
    out.Pixels.resize(static_cast<std::size_t>(width) * height * 3);
    while (info.output_scanline < info.output_height) {
        std::uint8_t* row = out.Pixels.data() + static_cast<std::size_t>(info.output_scanline) * width * 3;
        JSAMPROW rows[1] = {row};
        jpeg_read_scanlines(&info, rows, 1);
        for (int x = 0; x < width; ++x) {  // RGB to BGR in place
            std::uint8_t r = row[x * 3];
            row[x * 3] = row[x * 3 + 2];
            row[x * 3 + 2] = r;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace vx
