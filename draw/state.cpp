// The one instance of the drawing layer's module state and its reset. Depends on draw/state.h
// and the back end's state in draw/gl/gl2d.h.
#include "draw/state.h"

#include "draw/gl/gl2d.h"

draw_state_type draw_state;

void ResetDrawing() {
  // Unlink the quad lists first: long chains of shared links would free recursively.
  ResetCollisions(0);
  for (auto quad = std::move(draw_state.collision.pool); quad;) quad = std::move(quad->link);
  draw_state = draw_state_type{};
  ResetGL2D();
}
