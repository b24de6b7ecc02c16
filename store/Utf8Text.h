#pragma once

// Text of the settings files as UTF-8, whatever form it was saved in.

#include <cstddef>
#include <string>
#include <string_view>

namespace zarvin {

// The bytes of a text file as UTF-8. A file that starts with the UTF-16LE byte order mark (as
// files saved by Windows tools do) is converted, its mark dropped; any other file is returned as
// it is, a UTF-8 byte order mark included.
std::string FileTextAsUtf8(std::string bytes);

// `text` without a leading UTF-8 byte order mark.
std::string_view WithoutUtf8Bom(std::string_view text);

// The first `maxCodePoints` code points of `text` as valid UTF-8: each byte that does not belong
// to a well-formed sequence becomes U+FFFD, so a damaged file never yields broken text.
std::string ValidUtf8Prefix(std::string_view text, size_t maxCodePoints);

}  // namespace zarvin
