// Drops files on a window by X drag and drop (XDND version 5) as a file manager does, or web
// addresses as a browser does: xdnd_drop WINDOW ITEM... where an ITEM holding "://" goes as it is
// and any other is a file's path. Owns the XdndSelection, sends enter and a position at the
// window's centre, drops once the window accepts, answers its request for the text/uri-list and
// waits for XdndFinished. Exits 0 when the window took the drop, 1 otherwise. Depends on Xlib.
#include <X11/Xlib.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// file:// and the path with every byte but the unreserved ones and "/" percent-encoded.
std::string FileUri(const std::string& path) {
  std::string uri = "file://";
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      uri += escaped;
    }
  }
  return uri;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: xdnd_drop WINDOW ITEM...\n");
    return 1;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  const Window target = std::strtoul(argv[1], nullptr, 0);
  const Window root = DefaultRootWindow(display);
  const Window source = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
  auto atom = [&](const char* name) { return XInternAtom(display, name, False); };
  const Atom selection = atom("XdndSelection"), uri_list = atom("text/uri-list");
  std::string uri;
  for (int i = 2; i < argc; ++i) {
    const std::string item = argv[i];
    uri += (item.find("://") != std::string::npos ? item : FileUri(item)) + "\r\n";
  }
  XSetSelectionOwner(display, selection, source, CurrentTime);

  auto send = [&](const char* type, long l1, long l2, long l3, long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = atom(type);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(source);
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
  };
  XWindowAttributes attributes;
  XGetWindowAttributes(display, target, &attributes);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(display, target, root, attributes.width / 2, attributes.height / 2, &x, &y, &child);
  send("XdndEnter", 5L << 24, static_cast<long>(uri_list), None, None);
  send("XdndPosition", 0, (long{x} << 16) | y, CurrentTime, static_cast<long>(atom("XdndActionCopy")));

  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < give_up) {
    if (!XPending(display)) {
      usleep(5000);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == ClientMessage && event.xclient.message_type == atom("XdndStatus")) {
      if (!(event.xclient.data.l[1] & 1)) break;  // the window refuses the drop
      send("XdndDrop", 0, CurrentTime, 0, 0);
    } else if (event.type == SelectionRequest) {
      const XSelectionRequestEvent& request = event.xselectionrequest;
      XEvent reply{};
      reply.xselection.type = SelectionNotify;
      reply.xselection.requestor = request.requestor;
      reply.xselection.selection = request.selection;
      reply.xselection.target = request.target;
      reply.xselection.time = request.time;
      reply.xselection.property = None;
      if (request.target == uri_list) {
        XChangeProperty(display, request.requestor, request.property, uri_list, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(uri.data()), static_cast<int>(uri.size()));
        reply.xselection.property = request.property;
      }
      XSendEvent(display, request.requestor, False, NoEventMask, &reply);
      XFlush(display);
    } else if (event.type == ClientMessage && event.xclient.message_type == atom("XdndFinished")) {
      XCloseDisplay(display);
      return 0;
    }
  }
  send("XdndLeave", 0, 0, 0, 0);
  XCloseDisplay(display);
  return 1;
}
