#include "folderview/CloudFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

// OneDrive by the roots its variables name, at or below them in any letter case; the
// other clients by what they keep at the root they sync, the nearest root first.
TEST(CloudFolder, ClientIsToldByItsRootOrItsMark)
{
    const std::map<std::wstring, std::wstring> environment {{L"OneDrive", L"C:\\Users\\Иван\\OneDrive\\"},
                                                            {L"OneDriveCommercial", L"D:\\OneDrive - Фирма"}};
    // The patterns that match a file, as the system would answer them.
    const std::set<std::wstring> marks {L"E:\\Облако\\.sync_*.db", L"E:\\Облако\\Мега\\.megaignore",
                                        L"\\\\сервер\\общая\\._sync_*.db", L"F:\\.owncloudsync.log"};
    std::vector<std::wstring> asked;
    const CloudProbe probe {
        .environment =
            [&](const wchar_t* name) {
                const auto found = environment.find(name);
                return found == environment.end() ? std::wstring() : found->second;
            },
        .exists =
            [&](const std::wstring& pattern) {
                asked.push_back(pattern);
                return marks.count(pattern) != 0;
            },
    };
    const std::pair<std::wstring, CloudClient> cases[] = {
        {L"C:\\Users\\Иван\\OneDrive", CloudClient::OneDrive},
        {L"c:\\users\\ИВАН\\onedrive\\Фото\\", CloudClient::OneDrive},
        {L"\\\\?\\D:\\OneDrive - Фирма\\Отчёты", CloudClient::OneDrive},
        {L"C:\\Users\\Иван\\OneDrive2", CloudClient::None},
        {L"E:\\Облако\\Фото\\2024", CloudClient::Nextcloud},
        {L"E:\\Облако\\Мега\\Фото", CloudClient::Mega},
        {L"\\\\сервер\\общая\\Фото", CloudClient::Nextcloud},
        {L"F:\\", CloudClient::Nextcloud},
        {L"G:\\Фото", CloudClient::None},
    };
    for (const auto& [folder, client] : cases) {
        SCOPED_TRACE(testing::PrintToString(folder));
        EXPECT_EQ(cloudClientOf(folder, probe), client);
    }
    // Above a share's root nothing is asked.
    asked.clear();
    EXPECT_EQ(cloudClientOf(L"\\\\сервер\\другая", probe), CloudClient::None);
    EXPECT_EQ(asked.size(), 4u);
}
