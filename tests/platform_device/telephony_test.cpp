// Telephony over the profile's lines. Which line the phone-edition check finds, and
// that it leaves nothing open, is the phone detection's test; here the bounds of the
// capabilities record, whose line name the check reads.
#include <windows.h>
#include <stddef.h>
#include <vector>
#include "ceplatform.h"
#include "testkit.h"

namespace {

LONG Initialize(HLINEAPP *app, DWORD totalSize)
{
    LINEINITIALIZEEXPARAMS params = {};
    params.dwTotalSize = totalSize;
    params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    DWORD devices = 0, version = 0x00020000;
    return lineInitializeEx(app, NULL, NULL, L"RUDIRadeze", &devices, &version, &params);
}

}

using Telephony = DeviceTest;

TEST_F(Telephony, CapabilitiesStayInsideTheCallersRecord)
{
    HLINEAPP app = 0;
    ASSERT_EQ(0, Initialize(&app, 24));
    const DWORD fixed = offsetof(LINEDEVCAPS, PermanentLineGuid);   // the version 2.0 record
    const DWORD nameBytes = sizeof(L"Cellular Line");

    std::vector<BYTE> buffer(2048);
    LINEDEVCAPS *caps = (LINEDEVCAPS *)buffer.data();
    for (DWORD size : {fixed - 1, fixed, fixed + nameBytes - 1, (DWORD)1316}) {
        memset(buffer.data(), 0xCD, buffer.size());
        caps->dwTotalSize = size;
        LONG result = lineGetDevCaps(app, 0, 0x00020000, 0, caps);
        for (size_t i = size; i < buffer.size(); ++i)
            ASSERT_EQ(0xCD, buffer[i]) << "byte " << i << " written with dwTotalSize " << size;
        if (size < fixed) {
            EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, result);
            continue;
        }
        ASSERT_EQ(0, result) << size;
        EXPECT_EQ(fixed + nameBytes, caps->dwNeededSize);
        if (size < fixed + nameBytes) {
            EXPECT_EQ(fixed, caps->dwUsedSize);
            EXPECT_EQ(0u, caps->dwLineNameSize);
        } else {
            EXPECT_EQ(nameBytes, caps->dwLineNameSize);
            EXPECT_STREQ(L"Cellular Line", (const wchar_t *)(buffer.data() + caps->dwLineNameOffset));
        }
    }
    EXPECT_EQ(LINEERR_INVALPOINTER, lineGetDevCaps(app, 0, 0x00020000, 0, NULL));
    EXPECT_EQ(LINEERR_BADDEVICEID, lineGetDevCaps(app, 5, 0x00020000, 0, caps));
    EXPECT_EQ(0, lineShutdown(app));
}
