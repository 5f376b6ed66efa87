// The opening of output names: what stands at a name the user chose, the run's own streams
// reached by name, the rules for /dev, and the file made anew beside a name and put in its
// place. The unit table (units.cpp) opens its outputs through these; what each status does
// is told at units::Status.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "frame/units.hpp"
#include "platform/held_files.hpp"

namespace korbast::frame::units::names {

// Why an open is refused, where the system gives no reason of its own.
constexpr std::string_view kOpenedElsewhere = platform::kHeldByRun;
constexpr std::string_view kBlockDevice = "A block device is never written";
constexpr std::string_view kUnderDev = "A link or special file under /dev is never replaced";
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

// At start-up: notes the descriptors the process holds now, whether each is open for reading
// and for writing, and the file each holds; the standard input is held for reading
// (platform::HeldFiles): no output is written into it; the files the standard output and
// error go to, when they are files, are held for writing: no output or page file replaces
// them. Done when the program is loaded, before anything of the run is opened (also in the
// tests and fuzz targets); tests call it again to take descriptors they made as handed over by
// the caller.
void note_start_descriptors();
// What a name reaches of the run itself: one of its descriptors, or another entry of its /proc
// folder (fd -1); own is false for any other name.
struct OwnName {
  bool own = false;
  int fd = -1;
};
// What the name reaches of the run: a descriptor by /dev/stdin, /dev/stdout, /dev/stderr,
// /dev/fd/N, /proc/self/fd/N, /proc/thread-self/fd/N, /proc/<pid>/fd/N or
// /proc/<pid>/task/<tid>/fd/N (pid this process or one of its threads), or by a link to any of
// them, followed to its end.
OwnName own_name(const NameForms& forms);
// A New (make_new) or Replace open of what an own name reaches: a duplicate of one of the
// run's own streams (Replace only: a descriptor open for writing when the run started, still
// that very file, not its standard input), or -1 with errno: EEXIST for New where the
// descriptor is open, refused (kOpenedElsewhere) for a descriptor the run opened itself, for a
// stream that is what the run reads from (its standard input's pipe under another number), for
// the standard input and for a descriptor of a file the run holds (the reason its file's own
// name gets), EBADF for one not open or not a stream, EACCES for another entry of the run's
// /proc folder. Nothing is opened.
int open_own(const OwnName& name, bool make_new);
// Whether an input (Old, Regular) may be opened by an own name: 0 for a descriptor the run was
// started with open for reading, still that very file (the standard input, `3<cat.ndk`), and
// for another entry of the run's /proc folder, which are opened by their names as any file;
// otherwise -1: refused (kOpenedElsewhere) for a descriptor the run opened itself (its own
// pipes, a unit's file: never waited on), EBADF for one of its output streams (open for writing
// only) or a descriptor not open.
int check_own_input(const OwnName& name);
// Whether a name is under /dev, as written or through a link to a folder on its way.
bool under_dev(const NameForms& forms);
// Whether a name under /dev holds one of /dev's own entries (kind: what lstat found there, 0
// for nothing): a link, a device node, a FIFO or a socket, which is never removed or replaced.
// A file or a new name under /dev is handled as anywhere else.
bool dev_own_entry(const NameForms& forms, mode_t kind);

// Status::Replace: the descriptor of the new file at the name (or of the stream there), or -1
// with errno, or refused. `looked`: what the user was asked about, or nullptr for the open's
// own look; what the open finds must be what was looked at. `dev`: the name is under /dev. A
// file the run holds at the name, or a stream it reads from where the name leads, is refused
// (kOpenedElsewhere); the new file is held in `hold` from its rename on.
int open_replacing(const std::string& path, const Look* looked, bool dev, platform::HeldFiles& hold);

}  // namespace korbast::frame::units::names
