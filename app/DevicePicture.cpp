#include "app/DevicePicture.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

#include "app/DevicePictureData.inc"

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

// libjpeg ends the program on a broken image unless told otherwise.
void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
void OnMessage(j_common_ptr) {}

} // namespace

bool DecodeJpeg(const unsigned char* data, unsigned long size, std::vector<unsigned char>& rgb,
                int& width, int& height) {
    jpeg_decompress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    err.base.output_message = OnMessage;
    rgb.clear();
    width = height = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        rgb.clear();
        width = height = 0;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const unsigned w = info.output_width, h = info.output_height;
    rgb.resize(static_cast<size_t>(w) * h * 3);
    while (info.output_scanline < h) {
        JSAMPROW row = rgb.data() + static_cast<size_t>(info.output_scanline) * w * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool DecodeDevicePicture(std::vector<unsigned char>& rgb, int& width, int& height) {
    return DecodeJpeg(kDevicePictureJpeg, kDevicePictureJpegSize, rgb, width, height);
}
