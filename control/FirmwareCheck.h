#pragma once

// The firmware check run when the window opens: a keyboard whose firmware is older than the one
// the maker's updater brings (the 126-key model) offers the user that updater.

#include <cstdint>
#include <string_view>

namespace zarvin {

namespace firmware_update {
inline constexpr std::string_view kQuestion = "Die aktuelle Version ist zu niedrig!";
inline constexpr std::string_view kCaption = "Aktualisierung der Version";
// The maker's updater, started from the program's folder when it is there.
inline constexpr std::string_view kUpdaterFile = "V0108-QP40M03B-1-US-UK-CSF8E9-20191221.exe";
inline constexpr std::string_view kUpdaterArgument = "Im Upgrade";
}  // namespace firmware_update

// Whether the keyboard with these ids and firmware version should be offered the updater: the
// model table says which versions of which model are.
bool FirmwareUpdateOffered(uint16_t vendorId, uint16_t productId, uint16_t version);

}  // namespace zarvin
