// Telephony over the profile's lines: the services the phone-edition check uses, and their refusals.
#include <windows.h>
#include <stddef.h>
#include <tapi.h>
#include <vector>
#include "testkit.h"

namespace {

LONG Initialize(HLINEAPP *app, DWORD *devices, DWORD *version, LINEINITIALIZEEXPARAMS *params, DWORD totalSize = 24)
{
    ZeroMemory(params, sizeof *params);
    params->dwTotalSize = totalSize;
    params->dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    *version = 0x00020000;
    return lineInitializeExW(app, NULL, NULL, L"RUDIRadeze", devices, version, params);
}

}

class Telephony : public DeviceTest {};

// Which line the phone-edition check finds is the phone detection's test; here the
// services themselves.
TEST_F(Telephony, FailsWithoutServiceAndShutdownClosesEverything)
{
    HLINEAPP app = 0;
    DWORD devices = 0, version = 0;
    LINEINITIALIZEEXPARAMS params;
    SimSetFailure(SIM_FAIL_TELEPHONY, LINEERR_NODRIVER);
    EXPECT_EQ(LINEERR_NODRIVER, Initialize(&app, &devices, &version, &params));
    SimSetFailure(SIM_FAIL_TELEPHONY, 1);
    EXPECT_EQ(LINEERR_NODRIVER, Initialize(&app, &devices, &version, &params));
    SimSetFailure(SIM_FAIL_TELEPHONY, 0);
    EXPECT_EQ(0, SimOpenTelephonyCount(NULL));

    // A line that refuses to open, beside one that opens.
    SimLine lines[2] = {{L"Cellular Line", TRUE}, {L"Fax Line", FALSE}};
    SimSetLines(lines, 2);
    ASSERT_EQ(0, Initialize(&app, &devices, &version, &params));
    EXPECT_EQ(2u, devices);
    EXPECT_EQ(0x00020000u, version);
    EXPECT_TRUE(params.Handles.hEvent != NULL);
    HLINE first = 0, second = 0;
    EXPECT_EQ(LINEERR_RESOURCEUNAVAIL, lineOpenW(app, 0, &first, 0x00020000, 0, 0, 6, 0x14, NULL));
    ASSERT_EQ(0, lineOpenW(app, 1, &first, 0x00020000, 0, 0, LINECALLPRIVILEGE_MONITOR, 0, NULL));
    ASSERT_EQ(0, lineOpenW(app, 1, &second, 0x00020000, 0, 0, 6, 0x14, NULL));
    int openLines = 0;
    EXPECT_EQ(1, SimOpenTelephonyCount(&openLines));
    EXPECT_EQ(2, openLines);
    LINEDEVSTATUS status;
    ZeroMemory(&status, sizeof status);
    status.dwTotalSize = sizeof status;
    ASSERT_EQ(0, lineGetLineDevStatusW(second, &status));
    EXPECT_EQ(2u, status.dwNumOpens);
    EXPECT_EQ(0x14u, status.dwOpenMediaModes);
    EXPECT_EQ(0, lineClose(first));
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, lineClose(first));
    // Shutdown closes whatever is still open.
    EXPECT_EQ(0, lineShutdown(app));
    EXPECT_EQ(0, SimOpenTelephonyCount(&openLines));
    EXPECT_EQ(0, openLines);
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, lineGetLineDevStatusW(second, &status));
    EXPECT_EQ(LINEERR_INVALAPPHANDLE, lineShutdown(app));
}

TEST_F(Telephony, RefusesBadRequests)
{
    HLINEAPP app = 0;
    DWORD devices = 0, version = 0;
    LINEINITIALIZEEXPARAMS params;
    // Too small a parameters record for the event it asks for; too old a version.
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, Initialize(&app, &devices, &version, &params, 16));
    ZeroMemory(&params, sizeof params);
    params.dwTotalSize = sizeof params;
    params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    version = 0x00010004;
    EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION,
              lineInitializeExW(&app, NULL, NULL, L"t", &devices, &version, &params));
    EXPECT_EQ(LINEERR_INVALPOINTER, lineInitializeExW(&app, NULL, NULL, L"t", NULL, &version, &params));
    EXPECT_EQ(0, SimOpenTelephonyCount(NULL));

    // A bigger record than needed is fine and says what it used.
    ASSERT_EQ(0, Initialize(&app, &devices, &version, &params, sizeof params));
    EXPECT_EQ(1u, devices);
    EXPECT_EQ(sizeof params, params.dwNeededSize);

    DWORD api = 0, ext = 0;
    EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION, lineNegotiateAPIVersion(app, 0, 0x00030000, 0x00030001, &api, NULL));
    EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION, lineNegotiateAPIVersion(app, 0, 0x00010000, 0x00010002, &api, NULL));
    EXPECT_EQ(LINEERR_BADDEVICEID, lineNegotiateAPIVersion(app, 1, 0x00010003, 0x00020002, &api, NULL));
    EXPECT_EQ(LINEERR_INVALAPPHANDLE, lineNegotiateAPIVersion(app + 1, 0, 0x00010003, 0x00020002, &api, NULL));
    LINEEXTENSIONID id;
    ASSERT_EQ(0, lineNegotiateAPIVersion(app, 0, 0x00010003, 0x00020002, &api, &id));
    EXPECT_EQ(0x00020000u, api);
    ASSERT_EQ(0, lineNegotiateAPIVersion(app, 0, 0x00010003, 0x00010004, &api, NULL));
    EXPECT_EQ(0x00010004u, api);
    EXPECT_EQ(LINEERR_INCOMPATIBLEEXTVERSION, lineNegotiateExtVersion(app, 0, 0x00020000, 0x00020000, 0x00030000, &ext));
    ASSERT_EQ(0, lineNegotiateExtVersion(app, 0, 0x00020000, 0x00010000, 0x00010001, &ext));

    HLINE line = 0;
    EXPECT_EQ(LINEERR_INVALPRIVSELECT, lineOpenW(app, 0, &line, 0x00020000, ext, 0, 0, 0x14, NULL));
    EXPECT_EQ(LINEERR_INVALMEDIAMODE, lineOpenW(app, 0, &line, 0x00020000, ext, 0, LINECALLPRIVILEGE_OWNER, 0, NULL));
    EXPECT_EQ(LINEERR_INVALPOINTER, lineOpenW(app, 0, NULL, 0x00020000, ext, 0, 6, 0x14, NULL));
    ASSERT_EQ(0, lineOpenW(app, 0, &line, 0x00020000, ext, 0, 6, 0x14, NULL));
    LINEDEVSTATUS status;
    ZeroMemory(&status, sizeof status);
    status.dwTotalSize = 40;
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, lineGetLineDevStatusW(line, &status));
    EXPECT_EQ(0, lineShutdown(app));
}

TEST_F(Telephony, CapabilitiesStayInsideTheCallersRecord)
{
    HLINEAPP app = 0;
    DWORD devices = 0, version = 0;
    LINEINITIALIZEEXPARAMS params;
    ASSERT_EQ(0, Initialize(&app, &devices, &version, &params));
    const DWORD fixed = offsetof(LINEDEVCAPS, PermanentLineGuid);   // the version 2.0 record
    const DWORD nameBytes = sizeof(L"Cellular Line");

    std::vector<BYTE> buffer(2048);
    LINEDEVCAPS *caps = (LINEDEVCAPS *)buffer.data();
    DWORD sizes[] = {100, fixed - 1, fixed, fixed + nameBytes - 1, fixed + nameBytes, 1316};
    for (DWORD size : sizes) {
        memset(buffer.data(), 0xCD, buffer.size());
        caps->dwTotalSize = size;
        LONG result = lineGetDevCapsW(app, 0, 0x00020000, 0, caps);
        for (size_t i = size; i < buffer.size(); ++i)
            ASSERT_EQ(0xCD, buffer[i]) << "byte " << i << " written with dwTotalSize " << size;
        if (size < fixed) {
            EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, result);
            continue;
        }
        ASSERT_EQ(0, result) << size;
        EXPECT_EQ(size, caps->dwTotalSize);
        EXPECT_EQ(fixed + nameBytes, caps->dwNeededSize);
        EXPECT_EQ((DWORD)STRINGFORMAT_UNICODE, caps->dwStringFormat);
        EXPECT_EQ(1u, caps->dwNumAddresses);
        EXPECT_TRUE(caps->dwMediaModes & LINEMEDIAMODE_INTERACTIVEVOICE);
        if (size < fixed + nameBytes) {
            EXPECT_EQ(fixed, caps->dwUsedSize);
            EXPECT_EQ(0u, caps->dwLineNameSize);
        } else {
            EXPECT_EQ(fixed + nameBytes, caps->dwUsedSize);
            EXPECT_EQ(nameBytes, caps->dwLineNameSize);
            ASSERT_LE(caps->dwLineNameOffset + caps->dwLineNameSize, size);
            EXPECT_STREQ(L"Cellular Line", (const wchar_t *)(buffer.data() + caps->dwLineNameOffset));
        }
    }
    EXPECT_EQ(LINEERR_INVALPOINTER, lineGetDevCapsW(app, 0, 0x00020000, 0, NULL));
    EXPECT_EQ(LINEERR_BADDEVICEID, lineGetDevCapsW(app, 5, 0x00020000, 0, caps));
    EXPECT_EQ(0, lineShutdown(app));
}
