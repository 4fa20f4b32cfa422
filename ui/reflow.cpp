// Dialog relayout from a layout variant's template.
#include "ui/reflow.h"

const UINT kReflowMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS | SWP_DEFERERASE;

namespace {

const WORD kUnnamedControlId = 0xFFFF;

void ReplaceIcon(HINSTANCE instance, HWND control, WORD imageId)
{
    HICON old = (HICON)SendMessageW(control, STM_GETIMAGE, IMAGE_ICON, 0);
    HICON loaded = LoadIconW(instance, MAKEINTRESOURCEW(imageId));
    if (!loaded) return;
    SendMessageW(control, STM_SETIMAGE, IMAGE_ICON, (LPARAM)loaded);
    // The same shared icon may come back for the same id: never destroy the one shown.
    if (old && old != loaded) DestroyIcon(old);
}

void ReplaceBitmap(HINSTANCE instance, HWND control, WORD imageId)
{
    HBITMAP old = (HBITMAP)SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0);
    HBITMAP loaded = LoadBitmapW(instance, MAKEINTRESOURCEW(imageId));
    if (!loaded) return;
    SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)loaded);
    if (old && old != loaded) DeleteObject(old);
}

void ApplyImageStep(HINSTANCE instance, HWND control, DWORD style, const TemplateField *title)
{
    if (title->kind != TEMPLATE_FIELD_ORDINAL) return;
    // Bits, not the type field: a button whose low bits match takes the image too, and
    // a button ignores the static's image messages.
    if ((style & SS_ICON) == SS_ICON) {
        ReplaceIcon(instance, control, title->ordinal);
    } else if ((style & SS_BITMAP) == SS_BITMAP) {
        ReplaceBitmap(instance, control, title->ordinal);
    }
}

// Selecting the selected line again scrolls it into view at the new size.
void ReselectLine(HWND control, UINT getSelection, UINT setSelection, LRESULT none)
{
    LRESULT selected = SendMessageW(control, getSelection, 0, 0);
    if (selected != none) SendMessageW(control, setSelection, (WPARAM)selected, 0);
}


// Only a real change of style is written: each write is a round of messages.
void SetStyles(HWND control, DWORD style, DWORD exStyle)
{
    if ((DWORD)GetWindowLongW(control, GWL_STYLE) != style) SetWindowLongW(control, GWL_STYLE, (LONG)style);
    if ((DWORD)GetWindowLongW(control, GWL_EXSTYLE) != exStyle) SetWindowLongW(control, GWL_EXSTYLE, (LONG)exStyle);
}

void ApplyItemToControl(HINSTANCE instance, HWND control, const TemplateItem *item,
                        const TemplateField *windowClass, const TemplateField *title)
{
    switch (TemplateClassOrdinal(windowClass)) {
    case TEMPLATE_CLASS_BUTTON:
        ApplyImageStep(instance, control, item->style, title);
        break;
    case TEMPLATE_CLASS_STATIC:
        SetStyles(control, item->style, item->exStyle);
        ApplyImageStep(instance, control, item->style, title);
        break;
    case TEMPLATE_CLASS_LISTBOX:
        ReselectLine(control, LB_GETCURSEL, LB_SETCURSEL, LB_ERR);
        break;
    case TEMPLATE_CLASS_COMBOBOX:
        ReselectLine(control, CB_GETCURSEL, CB_SETCURSEL, CB_ERR);
        break;
    default:
        break;
    }
}

// Controls of the first records are remembered between the two passes; later
// ones are looked up again.
const unsigned kRememberedControls = 256;

// The controls the last relayouts found, by record, for the last few dialogs (a host and
// its page turn together). Every lookup by id asks the server for the dialog's child
// list, so a dialog that turns again takes its controls from here, each checked first
// with the window's own data (no server request): still a window, still a child of this
// dialog, still the same id.
struct FoundControls {
    HWND dialog;
    SIZE size;   // the dialog's client size at that relayout
    unsigned count;
    HWND controls[kRememberedControls];
};
const unsigned kRememberedDialogs = 4;
FoundControls g_found[kRememberedDialogs];
unsigned g_nextFound;   // the slot a dialog not remembered yet takes

FoundControls *FoundFor(HWND dialog)
{
    for (FoundControls &found : g_found)
        if (found.dialog == dialog) return &found;
    return NULL;
}

HWND FindControl(const FoundControls *found, HWND dialog, unsigned index, WORD id)
{
    if (found && index < found->count) {
        HWND known = found->controls[index];
        if (known && IsWindow(known) && GetParent(known) == dialog && GetDlgCtrlID(known) == id) return known;
    }
    return GetDlgItem(dialog, id);
}

void RememberControls(HWND dialog, SIZE size, const HWND *controls, unsigned count)
{
    FoundControls *found = FoundFor(dialog);
    if (!found) {
        found = &g_found[g_nextFound];
        g_nextFound = (g_nextFound + 1) % kRememberedDialogs;
    }
    found->dialog = dialog;
    found->size = size;
    found->count = count < kRememberedControls ? count : kRememberedControls;
    CopyMemory(found->controls, controls, found->count * sizeof *controls);
}

// `origin` is the dialog's client origin on the screen, taken once per relayout.
bool AlreadyThere(HWND control, POINT origin, const RECT &target)
{
    RECT current;
    if (!GetWindowRect(control, &current)) return false;
    OffsetRect(&current, -origin.x, -origin.y);
    return EqualRect(&current, &target) != 0;
}

// Whether the window has a border or frame of its own around its client area.
bool HasFrame(HWND window)
{
    RECT outer, inner;
    return GetWindowRect(window, &outer) && GetClientRect(window, &inner) &&
           (outer.right - outer.left != inner.right || outer.bottom - outer.top != inner.bottom);
}

void RedrawWithOwnFrame(HWND window)
{
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | (HasFrame(window) ? RDW_FRAME : 0));
}

// Invalidating a window with its children has every child draw its frame too, in a
// device context of its own, though a control seldom has one. A dialog that paints
// nothing under its controls has each of them drawn by itself, framed only where it has
// a frame; a control that clips its own children (the tab control under its page)
// leaves them to redraw themselves when they are sized.
void RedrawLaidOut(HWND dialog, const HWND *controls, unsigned count)
{
    if (!(GetWindowLongW(dialog, GWL_STYLE) & WS_CLIPCHILDREN) || count > kRememberedControls) {
        RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return;
    }
    RedrawWithOwnFrame(dialog);
    for (unsigned k = 0; k < count; ++k)
        if (controls[k]) RedrawWithOwnFrame(controls[k]);
}

}  // namespace

// The same from template bytes already in memory; never reads beyond `size` bytes.
static BOOL ReflowDialogFromMemory(HINSTANCE instance, HWND dialog, const void *bytes, DWORD size)
{
    TemplateWalk walk;
    TemplateHeader header;
    if (!bytes || !TemplateWalkBegin(&walk, bytes, size, &header)) return FALSE;

    // The item count sizes the batch; a damaged count must not ask for more than
    // the bytes could hold.
    unsigned hint = header.itemCount;
    unsigned bound = TemplateWalkItemBound(&walk);
    if (hint > bound) hint = bound;
    HDWP batch = BeginDeferWindowPos(hint ? (int)hint : 1);
    if (!batch) return FALSE;

    // Which records were placed, by position (an item count has 16 bits).
    BYTE placed[0x10000 / 8];
    ZeroMemory(placed, sizeof placed);
    HWND controls[kRememberedControls];

    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    RECT client = {0, 0, 0, 0};
    GetClientRect(dialog, &client);
    SIZE clientSize = {client.right, client.bottom};

    BOOL result = TRUE;
    int unnamedMoved = 0;
    int moves = 0;
    unsigned index = 0;
    TemplateItem item;
    const FoundControls *found = FoundFor(dialog);
    // A dialog sized anew is drawn anew, whether its controls moved or not.
    bool resized = !found || found->size.cx != clientSize.cx || found->size.cy != clientSize.cy;
    for (; TemplateWalkNext(&walk, &item); ++index) {
        HWND control = FindControl(found, dialog, index, item.id);
        if (index < kRememberedControls) controls[index] = control;
        if (!control) {
            result = FALSE;
            continue;
        }
        RECT r = {item.x, item.y, item.x + item.cx, item.y + item.cy};
        if (!MapDialogRect(dialog, &r)) {
            result = FALSE;
            continue;
        }
        // A control already in place needs no move (the same variant again, as
        // after a change of size that kept the shape).
        if (!AlreadyThere(control, origin, r)) {
            // A failed queue abandons its batch: the rest of the walk goes on in a new one.
            if (!batch) batch = BeginDeferWindowPos(1);
            HDWP next = batch ? DeferWindowPos(batch, control, NULL, r.left, r.top, r.right - r.left,
                                               r.bottom - r.top, kReflowMoveFlags)
                              : NULL;
            batch = next;
            if (!next) {
                result = FALSE;
                continue;
            }
            ++moves;
        }
        placed[index / 8] |= (BYTE)(1 << (index % 8));
        if (item.id == kUnnamedControlId) ++unnamedMoved;
    }
    if (walk.error != TEMPLATE_WALK_OK) result = FALSE;
    RememberControls(dialog, clientSize, controls, index);

    // The moves draw nothing: a shown dialog is redrawn whole once, when all is in place.
    BOOL repaint = (moves > 0 || resized) && IsWindowVisible(dialog);
    if (!batch || !EndDeferWindowPos(batch)) result = FALSE;

    // Styles, images and selections once the controls have their new sizes: a list
    // scrolled before its resize would bring its selection into view at the old one.
    TemplateWalkBegin(&walk, bytes, size, NULL);
    for (unsigned k = 0; k < index && TemplateWalkNext(&walk, &item); ++k) {
        if (!(placed[k / 8] & (1 << (k % 8)))) continue;
        HWND control = k < kRememberedControls ? controls[k] : GetDlgItem(dialog, item.id);
        if (control) ApplyItemToControl(instance, control, &item, &item.windowClass, &item.title);
    }
    if (repaint) RedrawLaidOut(dialog, controls, index);

    // Unnamed controls cannot be told apart: each such record moved the first one.
    if (unnamedMoved >= 2) return FALSE;
    return result;
}

BOOL ReflowDialogFromTemplate(HINSTANCE instance, HWND dialog, UINT templateId)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    if (!found) return FALSE;
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded) return FALSE;
    DWORD size = SizeofResource(instance, found);
    return ReflowDialogFromMemory(instance, dialog, LockResource(loaded), size);
}

BOOL LaidOutAtPresentSize(HWND dialog)
{
    const FoundControls *found = FoundFor(dialog);
    RECT client;
    return found && GetClientRect(dialog, &client) && found->size.cx == client.right && found->size.cy == client.bottom;
}

UINT ChooseLayoutVariant(UINT portraitId, UINT landscapeId, UINT squareId)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    if (height > width) return portraitId;
    if (height < width) return landscapeId;
    return squareId;
}
