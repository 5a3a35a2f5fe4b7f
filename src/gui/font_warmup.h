// The system's font configuration (Fontconfig on Linux) is read with the font
// caches when the first text is laid out, which would hold up the main
// window's first paint by several milliseconds. A FontWarmup does that
// reading on a helper thread while the window system connection is made; it
// waits for the thread when it ends.
#pragma once

#include <thread>

namespace quilo {

class FontWarmup {
 public:
  FontWarmup();
  ~FontWarmup();
  FontWarmup(const FontWarmup&) = delete;
  FontWarmup& operator=(const FontWarmup&) = delete;

 private:
  std::thread thread_;
};

}  // namespace quilo
