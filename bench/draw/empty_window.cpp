// The start-up floor: a program that opens an 800 x 600 window through the platform and the
// drawing layer, presents one grey frame and waits to be killed. The start-up benchmark times
// a program's start to its first frame against this one.
#include <unistd.h>

#include "draw/draw.h"
#include "platform/platform.h"

int main() {
  if (!StartPlatform()) return 1;
  InitDrawing();
  if (!Graphics(800, 600, 0, 60, 0)) return 1;
  SetClsColor(128, 128, 128);
  Cls();
  Flip(1);
  for (;;) pause();
}
