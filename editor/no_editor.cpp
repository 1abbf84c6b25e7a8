// Builds without a window system (the Linux module) have no editor: the instance runs
// with a null editor, clears effFlagsHasEditor and answers 0 to every editor opcode.
#include "editor/editor_base.h"

EditorBase* createPluginEditor(EditedInstance*) { return nullptr; }
