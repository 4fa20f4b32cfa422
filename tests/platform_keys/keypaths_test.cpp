// The program names registry keys with a leading backslash, as the device takes them.
#include "testkit.h"

using RegistryPaths = DeviceTest;

TEST_F(RegistryPaths, LeadingBackslashNamesTheSameKey)
{
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT}) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, L"\\Rudore Paths", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
        RegCloseKey(key);
        EXPECT_TRUE(RegKeyExists(root, L"Rudore Paths"));
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(root, L"\\Rudore Paths", 0, KEY_READ, &key));
        RegCloseKey(key);
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(root, L"\\Rudore Paths"));
        EXPECT_FALSE(RegKeyExists(root, L"Rudore Paths"));
    }
}
