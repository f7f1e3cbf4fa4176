#pragma once
// The picture of the access point at the top of the main window: a JPEG
// built into the program, decoded with libjpeg.
#include <vector>

constexpr int DevicePictureWidth = 360;
constexpr int DevicePictureHeight = 170;

// Decodes a JPEG in memory into 8-bit RGB rows; false for a broken image.
bool DecodeJpeg(const unsigned char* data, unsigned long size, std::vector<unsigned char>& rgb,
                int& width, int& height);
// The built-in picture.
bool DecodeDevicePicture(std::vector<unsigned char>& rgb, int& width, int& height);
