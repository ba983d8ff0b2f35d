// The audio module's state: the loader chain and the driver list with the current driver.
// Private to platform/audio and platform/sdl/audio_*.cpp.
#pragma once

#include "platform/audio.h"

struct audio_state {
  struct {
    TAudioSampleLoader* head = nullptr;  // newest loader first
  } loaders;
  struct {
    TAudioDriver* head = nullptr;         // newest driver first
    TAudioDriver* current = nullptr;      // none until first used
    TAudioDriver* null_driver = nullptr;  // set by AudioStartup
  } drivers;
  bool started = false;  // AudioStartup has built the chain and the list
};

// The one instance. Registration lists follow the objects' lifetimes; AudioShutdown resets the
// current driver only.
extern constinit audio_state audio_module;

// The loader chain and the driver list are singly linked through _succ, newest first.
template <typename T>
void LinkAtHead(T*& head, T* node) {
  node->_succ = head;
  head = node;
}

template <typename T>
void Unlink(T*& head, T* node) {
  for (T** link = &head; *link; link = &(*link)->_succ) {
    if (*link == node) {
      *link = node->_succ;
      return;
    }
  }
}
