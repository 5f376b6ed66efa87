#include "pages/display_look.hpp"

#include <X11/X.h>
#include <X11/Xauth.h>
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/run_threads.hpp"

namespace korbast::pages {

namespace {

// The socket of the dialog's own look at the display (screen_here) while it is the look's,
// -1 otherwise.
std::atomic<int> g_look_socket{-1};

// At the look's bound, in a signal's handler: its socket is shut, so that a server that does
// not answer ends the wait on it.
void shut_look_socket() {
  if (const int fd = g_look_socket.load(); fd >= 0) shutdown(fd, SHUT_RDWR);
}

// A stream socket of `family` connected to `addr`, known to the bound (g_look_socket) from
// before its connection on; -1 when none connects.
int look_socket(int family, const sockaddr* addr, socklen_t length) {
  const int fd = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  g_look_socket = fd;
  if (connect(fd, addr, length) == 0) return fd;
  const int why = errno;
  g_look_socket = -1;
  ::close(fd);
  errno = why;
  return -1;
}

// A TCP socket connected to display `number` of `host`, or -1. The port is X_TCP_PORT (6000)
// plus the number in unsigned 16-bit arithmetic, as the X libraries count it, whatever the
// number.
int tcp_display(const std::string& host, int number) {
  const auto port = static_cast<std::uint16_t>(X_TCP_PORT + static_cast<unsigned>(number));
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  std::string name = host.empty() ? "localhost" : host;
  if (name.size() > 2 && name.front() == '[' && name.back() == ']') {  // [IPv6 address]
    name = name.substr(1, name.size() - 2);
    hints.ai_family = AF_INET6;
  }
  addrinfo* found = nullptr;
  if (getaddrinfo(name.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
    return -1;
  }
  int fd = -1;
  for (const addrinfo* a = found; a && fd < 0; a = a->ai_next)
    fd = look_socket(a->ai_family, a->ai_addr, a->ai_addrlen);
  freeaddrinfo(found);
  return fd;
}

// The socket of the display named [protocol/][host]:number, connected as xcb connects it: a
// local display (no host, or "unix") at the abstract name and then the path
// /tmp/.X11-unix/X<number>, then by TCP on this host (where no protocol is named); another
// host by TCP. -1 when none connects.
int display_socket(const std::string& protocol, const std::string& host, int number) {
  if (protocol != "unix" && !host.empty() && host != "unix") {
    const bool tcp = protocol.empty() || protocol == "tcp" || protocol == "inet" ||
                     protocol == "inet6";
    return tcp ? tcp_display(host, number) : -1;
  }
  if (!protocol.empty() && protocol != "unix") return -1;
  const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path + 1, path.data(), path.size());  // abstract: a zero byte first
  const auto length = [&](std::size_t n) {
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + n);
  };
  int fd = look_socket(AF_UNIX, reinterpret_cast<sockaddr*>(&addr), length(1 + path.size()));
  if (fd >= 0 || (errno != ENOENT && errno != ECONNREFUSED)) return fd;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  fd = look_socket(AF_UNIX, reinterpret_cast<sockaddr*>(&addr), length(path.size() + 1));
  if (fd < 0 && protocol.empty() && host.empty()) fd = tcp_display(host, number);
  return fd;
}

// The authorization for display `number` on the connected socket fd, found as xcb finds it:
// the best entry of the authority file (XAUTHORITY, or ~/.Xauthority) for the server's address,
// this host's name for a local socket or one on the loopback address. MIT-MAGIC-COOKIE-1 only;
// nullptr when there is none. To be given back with XauDisposeAuth.
Xauth* display_auth(int fd, int number) {
  sockaddr_storage peer{};
  socklen_t length = sizeof peer;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0) {
    length = sizeof peer;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0 ||
        peer.ss_family != AF_UNIX) {
      return nullptr;
    }
  }
  // A local socket or the loopback address: this host's name; another address: itself.
  unsigned short family = FamilyLocal;
  const char* address = nullptr;
  std::size_t address_length = 0;
  if (peer.ss_family == AF_INET6) {
    const in6_addr& a = reinterpret_cast<const sockaddr_in6&>(peer).sin6_addr;
    const bool v4 = IN6_IS_ADDR_V4MAPPED(&a);  // its last 4 bytes an IPv4 address
    address = reinterpret_cast<const char*>(&a) + (v4 ? 12 : 0);
    address_length = v4 ? 4 : sizeof a;
    if (v4 ? std::memcmp(address, "\x7f\0\0\x01", 4) != 0 : !IN6_IS_ADDR_LOOPBACK(&a))
      family = v4 ? FamilyInternet : FamilyInternet6;
  } else if (peer.ss_family == AF_INET) {
    const in_addr& a = reinterpret_cast<const sockaddr_in&>(peer).sin_addr;
    address = reinterpret_cast<const char*>(&a);
    address_length = sizeof a;
    if (a.s_addr != htonl(INADDR_LOOPBACK)) family = FamilyInternet;
  } else if (peer.ss_family != AF_UNIX) {
    return nullptr;
  }
  char host[256] = {};
  if (family == FamilyLocal) {
    if (gethostname(host, sizeof host - 1) != 0) return nullptr;
    address = host;
    address_length = std::strlen(host);
  }
  const std::string display = std::to_string(number);
  char cookie[] = "MIT-MAGIC-COOKIE-1";
  char* names[] = {cookie};
  int name_lengths[] = {static_cast<int>(sizeof cookie - 1)};
  return XauGetBestAuthByAddr(family, static_cast<unsigned short>(address_length), address,
                              static_cast<unsigned short>(display.size()), display.c_str(), 1,
                              names, name_lengths);
}

}  // namespace

platform::ScreenRect screen_here(std::chrono::nanoseconds bound) {
  const char* name = std::getenv("DISPLAY");
  char* host = nullptr;
  int number = 0, screen_number = 0;
  if (!name || !xcb_parse_display(name, &host, &number, &screen_number)) return {};
  const std::string host_name = host;
  std::free(host);
  const char* slash = std::strrchr(name, '/');
  const std::string protocol = slash ? std::string(name, slash) : std::string();
  xcb_connection_t* c = nullptr;
  {
    const platform::Interrupter cut(bound, shut_look_socket);
    if (const int fd = display_socket(protocol, host_name, number); fd >= 0) {
      Xauth* auth = display_auth(fd, number);
      xcb_auth_info_t info{};
      if (auth) info = {auth->name_length, auth->name, auth->data_length, auth->data};
      c = xcb_connect_to_fd(fd, auth ? &info : nullptr);  // xcb's from now on, closed with c
      if (auth) XauDisposeAuth(auth);
    }
    g_look_socket = -1;
  }
  platform::ScreenRect screen;
  if (c && !xcb_connection_has_error(c)) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (; it.rem > 0 && screen_number > 0; --screen_number) xcb_screen_next(&it);
    if (it.rem > 0) screen = {0, 0, it.data->height_in_pixels, it.data->width_in_pixels};
  }
  if (c) xcb_disconnect(c);
  return screen;
}

}  // namespace korbast::pages
