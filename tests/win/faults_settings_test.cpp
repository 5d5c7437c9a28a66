// A settings key that cannot be opened: the editor starts with its
// defaults, runs, and writes nothing, without a message.
#include <gtest/gtest.h>

#include <aclapi.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "shell/settings.h"
#include "wintest.h"

using namespace wintest;

namespace {

const char settingsKey[] = "Software\\Ostrel\\Quillon";

// Replaces the key's access list by one that lets nobody in.
bool lockKey()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, settingsKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL))
        return false;
    RegSetValueExA(key, "Format", 0, REG_SZ, (const BYTE *)"1", 2);
    ACL acl;
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, &acl, FALSE);
    LONG r = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
    RegCloseKey(key);
    HKEY probe;
    bool locked = r == ERROR_SUCCESS &&
                  RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, KEY_ALL_ACCESS, &probe) != ERROR_SUCCESS;
    if (!locked && r == ERROR_SUCCESS) RegCloseKey(probe);
    return locked;
}

void unlockKey()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        SECURITY_DESCRIPTOR sd;
        InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&sd, TRUE, NULL, FALSE);  // everyone in
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
        RegCloseKey(key);
    }
    deleteSettings();
}

TEST(FaultsSettings, KeyThatCannotBeOpenedLeavesTheDefaults)
{
    deleteSettings();
    if (!lockKey()) {
        unlockKey();
        GTEST_SKIP() << "the registry does not refuse the locked key here";
    }
    {
        EditorSession s("\"\"", SW_SHOWNORMAL, true);
        ASSERT_TRUE(s.started());
        EXPECT_EQ(0x11, ed.viewFormat);         // the stored "1" was not read
        EXPECT_EQ(5, ed.placementValuesMissing);
        EXPECT_EQ(0, ed.recentCount);
        std::string file = writeTempFile("some.bin", patternBytes(100));
        openFile(file.c_str());
        EXPECT_EQ(1, ed.recentCount);
        s.close();                              // saveSettings: nothing can be written
        EXPECT_TRUE(seenBoxes().empty());
    }
    unlockKey();
}

}  // namespace
