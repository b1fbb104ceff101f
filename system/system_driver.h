// system_driver.h - the system driver: the event pump, the mouse pointer, and the requesters.
//
// The driver takes the messages of the main thread's stream (platform/events.h) one at a time:
// calls posted from other threads run there and then (cross_thread.h); every other message goes
// to the procedure of its window, which hands it to the translator (translator.h) to become an
// event. PumpEvents does this for whatever is waiting; AwaitEvents first waits for something.
//
// The pointer is shown while the program wants it shown, and also whenever it is over none of
// the program's windows, so hiding it never loses it on the desktop.
//
// The requesters (Notify, Confirm, Proceed, RequestFile, RequestDir, OpenURL) have no dialogs
// behind them on this platform: Notify writes to stderr, the others answer as if the user had
// cancelled. Everything here is main thread only.
#pragma once

#include <string>

#include "core/object.h"

class TSystemDriver : public TObject {
 public:
  virtual void Poll() = 0;
  virtual void Wait() = 0;
  virtual void MoveMouse(int x, int y) = 0;
  virtual void SetMouseVisible(bool visible) = 0;
  virtual void Notify(const std::string& text, bool serious) = 0;
  virtual bool Confirm(const std::string& text, bool serious) = 0;
  // 1 yes, 0 no, -1 cancel.
  virtual int Proceed(const std::string& text, bool serious) = 0;
  virtual std::string RequestFile(const std::string& title, const std::string& extensions,
                                  bool save, const std::string& path) = 0;
  virtual std::string RequestDir(const std::string& title, const std::string& path) = 0;
  virtual bool OpenURL(const std::string& url) = 0;
};

class TPlatformSystemDriver : public TSystemDriver {
 public:
  void Poll() override;
  void Wait() override;
  void MoveMouse(int x, int y) override;
  void SetMouseVisible(bool visible) override;
  void Notify(const std::string& text, bool serious) override;
  bool Confirm(const std::string& text, bool serious) override;
  int Proceed(const std::string& text, bool serious) override;
  std::string RequestFile(const std::string& title, const std::string& extensions, bool save,
                          const std::string& path) override;
  std::string RequestDir(const std::string& title, const std::string& path) override;
  bool OpenURL(const std::string& url) override;
};

// Creates the driver and the event queue once; the functions below call it themselves.
void StartSystem();
TSystemDriver* SystemDriver();

// Handle whatever messages wait / wait for one, then handle all that wait. Both return at once
// when called from inside a pump already running (from a hook, say).
void PumpEvents();
void AwaitEvents();
bool InsidePump();

// Places the pointer in the active window's client coordinates (screen coordinates when no
// window is active).
void PlaceMouse(int x, int y);
void ShowPointer();
void HidePointer();

// Shift 1, Control 2, Alt 4, Windows key 8, as of the last modifier key message.
int ModifierState();

// Shows or hides the pointer by the rule above; the translator calls it when the pointer moves
// onto or off the program's windows.
void UpdatePointerVisibility();
