// The editor interface the effect frame's dispatcher talks to. It holds no window of its
// own: WindowEditor (Windows builds only) derives from it. Window handles are kept as
// opaque pointers so that this header, and the shell that uses it, stay free of Win32.
#pragma once

#include "shell/vst_abi.h"

class EditedInstance;

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
  // effEditIdle, UI thread: nothing to do, every redraw happens at once.
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

 protected:
  EditedInstance* effect;
  void* parentWindow;
};

// Creates the instance's concrete editor, or null where the build has none (the Linux
// module) or it cannot be made. Defined by the editor on Windows, as null elsewhere.
EditorBase* createPluginEditor(EditedInstance* owner);
