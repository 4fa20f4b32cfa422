// Driving the Phone host's pages; the sound browser their "..." buttons open is
// driven through the browser test kit.
#ifndef PHONE_KIT_H
#define PHONE_KIT_H

#include <windows.h>
#include "tests/hosts/host_kit.h"
#include "browser_testkit.h"

// The sound category keys, each with the folder its sounds must lie in.
const wchar_t kInCall[] = L"ControlPanel\\SoundCategories\\InCall";
const wchar_t kFeedback[] = L"ControlPanel\\SoundCategories\\InCallFeedBack";
const wchar_t kRing[] = L"ControlPanel\\SoundCategories\\Ring";

// A fresh device with the current drive on the device's file system, so that the
// browser's paths (\Windows\Rings) name the device's own folders.
class PhonePageTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        UseTheDevicesDrive();
    }
};

#endif
