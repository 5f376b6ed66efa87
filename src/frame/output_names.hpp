// The opening of output names: what stands at a name the user chose, the run's own streams
// reached by name, the rules for /dev, and the file made anew beside a name and put in its
// place. The unit table (units.cpp) opens its outputs through these; what each status does
// is told at units::Status.
#pragma once

#include <string>
#include <string_view>

#include "frame/units.hpp"

namespace korbast::frame::units::names {

// Why an open is refused, where the system gives no reason of its own.
constexpr std::string_view kOpenedElsewhere = "File already opened in another unit";
constexpr std::string_view kBlockDevice = "A block device is never written";
constexpr std::string_view kUnderDev = "A name under /dev is never replaced";
constexpr std::string_view kChanged = "Changed after it was chosen";

// Notes one of the reasons above as the last refusal: -1, errno EPERM.
int refuse(std::string_view reason);
// The reason of the last refusal since clear_refusal() ("" for none: the open failed with
// errno).
const std::string& refusal();
// Forgets the last refusal (at the start of every open).
void clear_refusal();

// Opens path with flags (and O_CLOEXEC), never waiting: a FIFO without reader fails at once
// (ENXIO), one without writer opens. The descriptor then blocks as usual. -1 with errno.
int open_without_waiting(const std::string& path, int flags);

// The temporary file of a file replaced, made exclusively beside it (never through a link or
// a file found there). The descriptor, or -1 with errno (`temp` then names the last name
// tried).
int make_temporary(const std::string& path, std::string& temp);

// The two ways a name is seen: absolute and lexically normal, and with its folder resolved
// (/dev/fd/1 is then /proc/<pid>/fd/1; a link to /dev names /dev).
struct NameForms {
  std::string lexical;
  std::string resolved;
};
// Both forms of path.
NameForms name_forms(const std::string& path);

// The descriptor of the run's own stream that a name names (see units::Status), -1 for none.
int own_stream(const NameForms& forms);
// Whether a name is under /dev, as written or through a link to a folder on its way.
bool under_dev(const NameForms& forms);
// A duplicate of the run's descriptor n, -1 with errno (EBADF when n is not open for writing).
int duplicate_stream(int n);

// Status::Replace: the descriptor of the new file at the name (or of the stream there), or -1
// with errno, or refused. `looked`: what the user was asked about, or nullptr for the open's
// own look; what the open finds must be what was looked at. `dev`: the name is under /dev.
int open_replacing(const std::string& path, const Look* looked, bool dev);

}  // namespace korbast::frame::units::names
