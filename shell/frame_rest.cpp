// Letting the 50 Hz frame timer and the audio output rest while nothing on screen can change
// without input and nothing sounds, so an idle game does not wake: they stop after a still turn
// and the timer starts with the next event (but a pointer move that nothing follows), the
// output with the next sound.
// Depends on platform/ (audio too), draw/, game/, play/ and the shell's state.
#include "draw/draw.h"
#include "game/game.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

// Screens that step by themselves, turn after turn: the opening and completion flights (which
// show the same frame while a step waits for the clock), unrotating, the one-frame title.
bool ScreenRunsByItself(const std::string& screen) {
  return screen == "title" || screen == "anim" || screen == "unrotate";
}

// Still: the turn presented nothing, ran on a screen that does not step by itself and stayed
// there, leaves nothing pending, nothing sounds (a sound's end is time-driven too: the output
// rests only with the loop), and the turn followed a tick rather than input. The turn after input
// draws what input changed after its turn's drawing (a click handled after the table was
// drawn, the carried piece following a pointer sampled a turn late), so it never counts.
bool TurnWasStill(const still_turn_watch& watch) {
  return FrameCounts().presented == watch.presented && game.screen == watch.screen &&
         !ScreenRunsByItself(game.screen) && !game.click_pending && !game.turn_pending &&
         EventID() == EVENT_TIMERTICK && !AudioSounding();
}

// Input shows a turn late where something follows the pointer sampled after a flip (the carried
// piece, the thumbnail being moved): the turn after it needs the timer to end its wait. Any
// other pointer move shows all it changes in the turn after it, which starts at once (the
// pointer itself is the window system's, or drawn at the live position), so the timer rests on
// and hovering wakes the loop once per move.
bool NeedsTheTimer(int event_id) {
  return event_id != EVENT_MOUSEMOVE || play.dragged != 0 || play.thumb_dragging;
}

}  // namespace

still_turn_watch::still_turn_watch() : presented(FrameCounts().presented), screen(game.screen) {}

bool RestFrameTimerIfStill(const still_turn_watch& watch) {
  if (!shell.frame_timer || !TurnWasStill(watch)) return false;
  shell.frame_timer->Pause();
  RestAudio();
  return true;
}

void WakeFrameTimer() {
  if (shell.frame_timer && NeedsTheTimer(EventID())) shell.frame_timer->Resume();
}
