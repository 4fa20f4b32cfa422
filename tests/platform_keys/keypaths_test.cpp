#include "testkit.h"

using RegistryPaths = DeviceTest;

TEST_F(RegistryPaths, LeadingBackslashNamesTheSameKey)
{
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT}) {
        HKEY key;
        DWORD disposition = 0;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, L"\\Rudore Paths\\Sounds", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                                 &key, &disposition));
        EXPECT_EQ((DWORD)REG_CREATED_NEW_KEY, disposition);
        DWORD value = 7;
        RegSetValueExW(key, L"Value", 0, REG_DWORD, (const BYTE *)&value, sizeof value);
        RegCloseKey(key);

        DWORD read = 0;
        EXPECT_TRUE(ReadRegDword(root, L"Rudore Paths\\Sounds", L"Value", &read));
        EXPECT_EQ(7u, read);
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(root, L"\\Rudore Paths\\Sounds", 0, KEY_READ, &key));
        RegCloseKey(key);
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, L"Rudore Paths\\Sounds", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                                 &key, &disposition));
        EXPECT_EQ((DWORD)REG_OPENED_EXISTING_KEY, disposition);
        RegCloseKey(key);

        EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(root, L"\\Rudore Paths\\Sounds"));
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(root, L"Rudore Paths"));
        EXPECT_FALSE(RegKeyExists(root, L"Rudore Paths"));
    }
}
