// Small operations that several windows use. Plain functions, no state.
//
//   DownloadUrlToFile(address, path)  stores the resource at the address in
//       the file; true on success, false on any failure, never throws. HTTPS
//       only unless the options allow more (tests allow file://).
//   MapStringWidth(text, flags)  the locale string mapping of the text, cut
//       at its first zero byte and to 255 bytes of code page 932. Only the
//       half-width flag maps; without it the text is only cut.
//   ToHalfWidth(text)  MapStringWidth with the half-width flag: full-width
//       letters, digits and katakana become half-width.
//   WaitWithMessages(ms)  returns when that many milliseconds have passed on
//       a monotonic clock, handling pending events meanwhile, so windows stay
//       responsive and callers must bear re-entry from the user interface.
//   RemoveBlanks(text)  without any half-width " " or full-width "　" blank.
//   CommaToBlank(text)  every "," replaced by " ".
#pragma once

#include <string>
#include <string_view>

#include "platform/download.h"

namespace kashidashi {

// LCMAP_HALFWIDTH, the mapping flag of half-width forms.
constexpr unsigned kLcmapHalfWidth = 0x00400000;

bool DownloadUrlToFile(std::string_view address, std::string_view path,
                       const platform::DownloadOptions& options = {}) noexcept;
std::string MapStringWidth(std::string_view text, unsigned flags);
std::string ToHalfWidth(std::string_view text);
void WaitWithMessages(int milliseconds);
std::string RemoveBlanks(std::string_view text);
std::string CommaToBlank(std::string_view text);

}  // namespace kashidashi
