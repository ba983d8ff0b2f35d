// TEvent, the names of event ids and user ids. Depends on the hook module (Emit).
#include <cstdint>

#include "platform/platform.h"
#include "platform/state.h"

std::map<int, std::string> StartEventNames() {
  return {
      {EVENT_APPSUSPEND, "AppSuspend"},       {EVENT_APPRESUME, "AppResume"},
      {EVENT_APPTERMINATE, "AppTerminate"},   {EVENT_APPOPENFILE, "AppOpenFile"},
      {EVENT_APPIDLE, "AppIdle"},             {EVENT_KEYDOWN, "KeyDown"},
      {EVENT_KEYUP, "KeyUp"},                 {EVENT_KEYCHAR, "KeyChar"},
      {EVENT_KEYREPEAT, "KeyRepeat"},         {EVENT_MOUSEDOWN, "MouseDown"},
      {EVENT_MOUSEUP, "MouseUp"},             {EVENT_MOUSEMOVE, "MouseMove"},
      {EVENT_MOUSEWHEEL, "MouseWheel"},       {EVENT_MOUSEENTER, "MouseEnter"},
      {EVENT_MOUSELEAVE, "MouseLeave"},       {EVENT_TIMERTICK, "TimerTick"},
      {EVENT_HOTKEYHIT, "HotkeyHit"},         {EVENT_GADGETACTION, "GadgetAction"},
      {EVENT_GADGETPAINT, "GadgetPaint"},     {EVENT_GADGETSELECT, "GadgetSelect"},
      {EVENT_GADGETMENU, "GadgetMenu"},       {EVENT_GADGETOPEN, "GadgetOpen"},
      {EVENT_GADGETCLOSE, "GadgetClose"},     {EVENT_GADGETDONE, "GadgetDone"},
      {EVENT_GADGETLOSTFOCUS, "GadgetLostFocus"}, {EVENT_GADGETSHAPE, "GadgetShape"},
      {EVENT_WINDOWMOVE, "WindowMove"},       {EVENT_WINDOWSIZE, "WindowSize"},
      {EVENT_WINDOWCLOSE, "WindowClose"},     {EVENT_WINDOWACTIVATE, "WindowActivate"},
      {EVENT_WINDOWACCEPT, "WindowAccept"},   {EVENT_MENUACTION, "MenuAction"},
      {EVENT_STREAMEOF, "StreamEof"},         {EVENT_STREAMAVAIL, "StreamAvail"},
      {EVENT_PROCESSEXIT, "ProcessExit"},     {EVENT_WORKDONE, "WorkDone"},
  };
}

std::shared_ptr<TEvent> TEvent::Create(int id, std::shared_ptr<TObject> source, int data,
                                       int mods, int x, int y, std::shared_ptr<TObject> extra) {
  auto event = std::make_shared<TEvent>();
  event->id = id;
  event->source = std::move(source);
  event->data = data;
  event->mods = mods;
  event->x = x;
  event->y = y;
  event->extra = std::move(extra);
  return event;
}

void TEvent::Emit() { RunHooks(EmitEventHook, shared_from_this()); }

std::string TEvent::ToString() const {
  std::string name = DescriptionForId(id);
  if (name.empty()) {
    // id - 0x80000000 computed without signed overflow.
    name = id < 0 ? "UserEvent" + std::to_string(static_cast<int64_t>(id) + 0x80000000LL)
                  : "Unknown Event, id=" + std::to_string(id);
  }
  auto text = std::dynamic_pointer_cast<TStringObject>(extra);
  return name + ": data=" + std::to_string(data) + ", mods=" + std::to_string(mods) +
         ", x=" + std::to_string(x) + ", y=" + std::to_string(y) + ", extra=\"" +
         (text ? text->value : std::string()) + "\"";
}

void RegisterId(int id, const std::string& name) { platform.event_names.names[id] = name; }

std::string DescriptionForId(int id) {
  auto found = platform.event_names.names.find(id);
  return found == platform.event_names.names.end() ? std::string() : found->second;
}

int AllocUserId() { return platform.event_names.next_user_id++; }
