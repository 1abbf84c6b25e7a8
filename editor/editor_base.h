// The editor interface every plug-in format talks to. It holds no window of its own: the
// Win32 editor (WindowEditor, Windows builds) and the X11 editor (Linux builds) derive
// from it. Window handles are kept as opaque pointers (an HWND, or an X11 window id in
// a pointer) so that this header, and the formats that use it, stay free of both.
#pragma once

#include "shell/vst_abi.h"

class EditedInstance;
class EditorEventPump;

class EditorBase {
 public:
  explicit EditorBase(EditedInstance* owner);
  virtual ~EditorBase();
  EditorBase(const EditorBase&) = delete;
  EditorBase& operator=(const EditorBase&) = delete;

  virtual EditedInstance* getEffect();
  // effEditGetRect, UI thread: stores a pointer to the editor's rectangle.
  virtual bool getRect(ERect** rect);
  // effEditOpen, UI thread: the host's window becomes the parent.
  virtual bool open(void* parent);
  // effEditClose, UI thread.
  virtual void close();
  virtual bool isOpen();
  // effEditIdle, LV2's idle interface, UI thread, regularly: the X11 editor handles its
  // window's events here; the Win32 editor has nothing to do.
  virtual void idle();
  // effEditKeyDown / effEditKeyUp, UI thread: this editor never consumes a key.
  virtual bool keyDown(VstKeyCode& key);
  virtual bool keyUp(VstKeyCode& key);
  virtual bool spareHook(VstInt32 value);
  // effSetEditKnobMode, UI thread.
  virtual bool setKnobMode(VstInt32 mode);

  // Notifications from the plug-in instance, on whichever thread changed the values.
  // A window editor keeps its controls in step; the base has no controls.
  virtual void parameterChanged(VstInt32 index, float value);
  virtual void refreshAllControls();
  virtual void redrawDirty();

  // For formats whose hosts offer a run loop instead of an idle call (VST 3, CLAP): the
  // editor's descriptor and pump calls, or null where the window system delivers events
  // by itself (Windows).
  virtual EditorEventPump* eventPump();

 protected:
  EditedInstance* effect;
  void* parentWindow;
};

// Creates the instance's concrete editor (Win32 or X11, whichever the build has), or null
// when it cannot be made.
EditorBase* createPluginEditor(EditedInstance* owner);
