// Picture files made for tests: small JPEG, PNG, BMP and TIFF files of
// known pixels, and JPEG files carrying an EXIF orientation.
#ifndef DAVODU_TESTS_SUPPORT_PICTURES_H_
#define DAVODU_TESTS_SUPPORT_PICTURES_H_

#include <functional>
#include <string>

#include "davodu/host/util/types.h"

namespace davodu::testing {

// The bytes of a picture file of w x h pixels in format ("jpeg", "png",
// "bmp", "tiff"), each pixel coloured by color(x, y) (rows from the top).
std::string MakePicture(const char* format, int w, int h,
                        const std::function<COLORREF(int, int)>& color);
// A JPEG with an EXIF block naming an orientation (1..8) inserted after its
// start marker.
std::string WithExifOrientation(const std::string& jpeg, int orientation);
// Writes bytes to a file; false on failure.
bool WriteFile(const std::string& path, const std::string& bytes);

}  // namespace davodu::testing

#endif  // DAVODU_TESTS_SUPPORT_PICTURES_H_
