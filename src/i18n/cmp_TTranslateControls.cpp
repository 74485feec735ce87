// Translate-aware controls (see cmp_TTranslateControls.h). They have no
// behaviour of their own; this unit anchors them in the library.
#include "i18n/cmp_TTranslateControls.h"
