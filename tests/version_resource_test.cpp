// gen_vorn.dll carries the version resource that Explorer shows under Properties > Details,
// with the version and the description the plugin itself reports.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "plugin/host_interface.h"
#include "tests/temp_files.h"

namespace {

std::wstring widened(const char* ansi) {
    wchar_t wide[256] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, 256);
    return wide;
}

TEST(VersionResource, NamesTheVersionAndDescriptionThePluginReports) {
    const std::string dll = program_folder_path("gen_vorn.dll");
    const std::wstring path = widened(dll.c_str());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(21, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(21, 1));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));

    // One Japanese, UTF-16 string table, as the translation table announces.
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 1200);

    HMODULE module = LoadLibraryA(dll.c_str());
    ASSERT_NE(module, nullptr);
    auto get_plugin = reinterpret_cast<winampGeneralPurposePlugin*(__cdecl*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "winampGetGeneralPurposePlugin")));
    const std::wstring description = widened(get_plugin()->description);
    FreeLibrary(module);

    struct Value {
        const wchar_t* name;
        std::wstring expected;
    };
    for (const Value& v :
         {Value{L"FileDescription", description}, Value{L"FileVersion", L"1.21.0.0"},
          Value{L"ProductVersion", L"1.21.0.0"}, Value{L"OriginalFilename", L"gen_vorn.dll"},
          Value{L"ProductName", L"vorn station song Plugin for winamp"}}) {
        SCOPED_TRACE(testing::Message() << v.name);
        wchar_t* text = nullptr;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\041104b0\\") + v.name;
        ASSERT_TRUE(
            VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &length));
        EXPECT_EQ(std::wstring(text), v.expected);
    }
}

} // namespace
