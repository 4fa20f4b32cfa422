// Dialog relayout: moving a dialog's existing controls to the rectangles of another
// layout variant of its template, so that a rotation keeps every control's state.
#ifndef UI_REFLOW_H
#define UI_REFLOW_H

#include <windows.h>
#include "ui/template_walk.h"

// Moves and resizes the dialog's controls to the items of dialog template
// `templateId` of `instance`, in one deferred batch. TRUE only when every item's
// control was found and moved and fewer than two items carry the id 0xFFFF.
BOOL ReflowDialogFromTemplate(HINSTANCE instance, HWND dialog, UINT templateId);

// TRUE when the dialog's last relayout was made at its present client size, so that it
// drew what it laid out.
BOOL LaidOutAtPresentSize(HWND dialog);

// The variant for the current screen shape: taller than wide is portrait, wider
// than tall landscape, equal square.
UINT ChooseLayoutVariant(UINT portraitId, UINT landscapeId, UINT squareId);

// The flags of the relayout's moves: no change of z-order or activation, and no paint,
// erase or copy of the old picture, the dialog being redrawn whole once every control
// is in place.
extern const UINT kReflowMoveFlags;

#endif
