// The dialog positions (see DialogTypes.h).
#include "dialogs/DialogTypes.h"

#include "framework/ClassRegistry.h"
#include "framework/Forms.h"
#include "framework/MathUtils.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"

TPoint DialogOrigin(TPellmoreDialogPosition position, int leftOffset, int topOffset, int width,
                    int height, int screenWidth, int screenHeight, int captionHeight) {
  // Each row of three runs left, centre, right; the rows are centred
  // (0..2), bottom (3..5) and top (6..8).
  const int column = position % 3;
  const int row = position / 3;
  TPoint p{};
  if (column == 1)
    p.x = leftOffset + static_cast<int>(Round(screenWidth / 2.0 - width / 2.0));
  else if (column == 2)
    p.x = screenWidth - width - leftOffset;
  else
    p.x = leftOffset;
  if (row == 0)
    p.y = topOffset + static_cast<int>(Round(screenHeight / 2.0 - height / 2.0));
  else if (row == 1)
    p.y = screenHeight - captionHeight - height - topOffset;
  else
    p.y = topOffset;
  return p;
}

void PlaceDialog(TCustomForm& form, TPellmoreDialogPosition position, int leftOffset,
                 int topOffset) {
  platform::Widgetset& ws = CurrentWidgetset();
  const TPoint p = DialogOrigin(position, leftOffset, topOffset, form.Width(), form.Height(),
                                Screen().Width(), Screen().Height(), ws.CaptionHeight());
  form.SetBounds(p.x, p.y, form.Width(), form.Height());
}

void RegisterDialogTypes(ClassRegistry& registry) {
  registry.Enum<TManagerType>("TManagerType",
                              {"dmBeforeInstall", "dmAfterGoodInstall", "dmAfterBadInstall",
                               "dmDuringCopyFiles", "dmChangeDisk", "dmReboot"});
  registry.Enum<TPellmoreDialogPosition>(
      "TPellmoreDialogPosition",
      {"vdpCenterLeft", "vdpCenter", "vdpCenterRight", "vdpBottomLeft", "vdpBottomCenter",
       "vdpBottomRight", "vdpTopLeft", "vdpTopCenter", "vdpTopRight"});
}
