// The dialog phases, the dialog positions and PlaceDialog, which puts a
// window at one of nine places on the screen.
#pragma once

#include <cstdint>

#include "framework/GraphicsTypes.h"

class ClassRegistry;
class TCustomForm;

// The phase of the run whose dialogs a manager shows.
enum TManagerType : uint8_t {
  dmBeforeInstall,     // -980: wizard pages before any file is copied
  dmAfterGoodInstall,  // -979: pages after a successful installation
  dmAfterBadInstall,   // -978: pages after a failed one
  dmDuringCopyFiles,   // -998/-988 progress, -996 end: modeless forms
  dmChangeDisk,        // -993: one modal form asking for the next disk
  dmReboot,            // -987: pages when a restart is required
};

enum TPellmoreDialogPosition : uint8_t {
  vdpCenterLeft,
  vdpCenter,
  vdpCenterRight,
  vdpBottomLeft,
  vdpBottomCenter,
  vdpBottomRight,
  vdpTopLeft,
  vdpTopCenter,
  vdpTopRight,
};

// The top-left corner of a `width` x `height` window at `position` on a
// `screenWidth` x `screenHeight` screen. Centred positions add the offset
// to the centre (halves rounded to even); left and top ones use the offset
// as the distance from the edge; right and bottom ones subtract it, the
// bottom ones also one caption height, so offsets move a window towards
// the middle.
TPoint DialogOrigin(TPellmoreDialogPosition position, int leftOffset, int topOffset, int width,
                    int height, int screenWidth, int screenHeight, int captionHeight);

// Moves `form` (keeping its size) to DialogOrigin on the widgetset's
// screen with its caption height.
void PlaceDialog(TCustomForm& form, TPellmoreDialogPosition position, int leftOffset,
                 int topOffset);

// TManagerType and TPellmoreDialogPosition with their enumerator names.
void RegisterDialogTypes(ClassRegistry& registry);
