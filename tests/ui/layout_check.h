// Checking a dialog's controls against the layout that the dialog manager itself
// gives a template.
#ifndef LAYOUT_CHECK_H
#define LAYOUT_CHECK_H

#include <windows.h>
#include <map>
#include <string>
#include <gtest/gtest.h>
#include "testkit.h"

// A control's rectangle in its dialog's client coordinates.
inline RECT ControlRect(HWND dialog, int id)
{
    RECT r = {-1, -1, -1, -1};
    HWND control = GetDlgItem(dialog, id);
    if (!control) return r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, dialog, (POINT *)&r, 2);
    return r;
}

inline bool SameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::string RectText(const RECT &r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

inline INT_PTR CALLBACK ReferenceDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The rectangle of every named control of a template, as the dialog manager lays
// them out when it creates the dialog (hidden) from that template.
inline std::map<int, RECT> TemplateLayout(HINSTANCE instance, UINT templateId)
{
    std::map<int, RECT> layout;
    HWND reference = CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), NULL, ReferenceDialogProc, 0);
    if (!reference) return layout;
    for (HWND child = GetWindow(reference, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(child);
        if (id != 0xFFFF && id != -1) layout[id] = ControlRect(reference, id);
    }
    DestroyWindow(reference);
    return layout;
}

// Every control that the template names sits where the template puts it.
inline ::testing::AssertionResult LaidOutLike(HWND dialog, HINSTANCE instance, UINT templateId)
{
    std::map<int, RECT> layout = TemplateLayout(instance, templateId);
    if (layout.empty()) return ::testing::AssertionFailure() << "template " << templateId << " gave no controls";
    for (const auto &entry : layout) {
        RECT actual = ControlRect(dialog, entry.first);
        if (!SameRect(actual, entry.second))
            return ::testing::AssertionFailure() << "control " << entry.first << " is at " << RectText(actual)
                                                 << ", template " << templateId << " puts it at "
                                                 << RectText(entry.second);
    }
    return ::testing::AssertionSuccess();
}

#endif
