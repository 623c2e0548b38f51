#include "preview/PreviewModel.h"
#include "preview/PictureChoice.h"

#include "StandInDrives.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

// Hidden and system entries and "." and ".." are left out; folders come first, each
// group in the order given.
TEST(ShownItems, FoldersFirstThenByNameWithoutHiddenOrSystem)
{
    const std::vector<FolderEntry> entries = {
        {L"b.jpg", FILE_ATTRIBUTE_ARCHIVE},
        {L".", FILE_ATTRIBUTE_DIRECTORY},
        {L"..", FILE_ATTRIBUTE_DIRECTORY},
        {L"Desktop.INI", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {L"море.jpg", FILE_ATTRIBUTE_HIDDEN},
        {L"Старое", FILE_ATTRIBUTE_DIRECTORY},
        {L"A.txt", FILE_ATTRIBUTE_NORMAL},
        {L"boot", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY},
        {L"Zeta", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY},
    };
    std::vector<std::tuple<std::wstring, bool>> shown;
    for (const PreviewItem& item : shownItems(entries, lstrcmpiW))
        shown.emplace_back(item.name, item.folder);
    EXPECT_EQ(shown,
              (std::vector<std::tuple<std::wstring, bool>> {
                  {L"Zeta", true}, {L"Старое", true}, {L"A.txt", false}, {L"b.jpg", false}}));
}

// Cells of 75 x 70 pixels.
TEST(IconGrid, ColumnsOriginsHeightAndVisibleItems)
{
    const std::tuple<int, int> columns[] = {{0, 1}, {74, 1}, {150, 2}, {224, 2}, {225, 3}};
    for (const auto& [width, expected] : columns)
        EXPECT_EQ(IconGrid({75, 70}, width).columns(), expected) << width;

    const IconGrid grid({75, 70}, 150); // two columns
    const POINT third = grid.origin(3);
    EXPECT_EQ(std::tuple(third.x, third.y), std::tuple(75L, 70L));
    EXPECT_EQ(std::tuple(grid.height(0), grid.height(1), grid.height(4), grid.height(5)), std::tuple(0, 70, 140, 210));

    // count, top, height: first item, one past the last
    const std::tuple<std::size_t, int, int, std::size_t, std::size_t> visible[] = {
        {10, 0, 70, 0, 2},     {10, 0, 71, 0, 4},      {10, 69, 2, 0, 4}, {10, 140, 70, 4, 6},
        {10, 280, 500, 8, 10}, {10, 1000, 70, 10, 10}, {10, 0, 0, 0, 0},  {0, 0, 70, 0, 0},
    };
    for (const auto& [count, top, height, first, end] : visible) {
        const ItemRange range = grid.visible(count, top, height);
        EXPECT_EQ(std::tuple(range.first, range.end), std::tuple(first, end)) << top << " + " << height;
    }
}

// The picture Apply would write, found where the shell finds it; a picture on another
// computer that the folder's file names is withheld until the user asks for it.
TEST(ChoosePicture, WhatApplyWouldWriteAndNothingFetchedUnasked)
{
    using Kind = PictureChoice::Kind;
    const std::wstring server = L"\\\\сервер\\обои\\море.jpg";
    const std::wstring longServer = L"\\\\?\\UNC\\сервер\\обои\\море.jpg";
    const struct {
        std::wstring folder, picture;
        int copy;
        std::wstring loaded, shownAnyway;
        PictureChoice expected;
    } cases[] = {
        {L"C:\\Фото", L"", kUnticked, L"", L"", {}},
        {L"C:\\Фото", L"море.jpg", kUnticked, L"море.jpg", L"", {Kind::File, L"C:\\Фото\\море.jpg"}},
        {L"C:\\Фото\\", L"обои\\море.jpg", kUnticked, L"", L"", {Kind::File, L"C:\\Фото\\обои\\море.jpg"}},
        {L"C:\\Фото", L"D:\\Обои\\море.jpg", kTicked, L"", L"", {Kind::File, L"D:\\Обои\\море.jpg"}},
        {L"C:\\Фото", server, kUnticked, server, L"", {Kind::Withheld, server}},
        {L"C:\\Фото", server, kTicked, server, L"", {Kind::Withheld, server}},
        {L"C:\\Фото",
         L"//srv/share/a.jpg",
         kUnticked,
         L"//srv/share/a.jpg",
         L"",
         {Kind::Withheld, L"//srv/share/a.jpg"}},
        {L"C:\\Фото", server, kUnticked, server, server, {Kind::File, server}},
        {L"C:\\Фото", server, kUnticked, L"старое.jpg", L"", {Kind::File, server}}, // typed or picked
        {L"\\\\сервер\\фото",
         L"море.jpg",
         kUnticked,
         L"море.jpg",
         L"",
         {Kind::Withheld, L"\\\\сервер\\фото\\море.jpg"}},
        {L"C:\\Фото", L"Y:\\море.jpg", kUnticked, L"Y:\\море.jpg", L"", {Kind::Withheld, L"Y:\\море.jpg"}},
        {L"C:\\Фото", L"Y:\\море.jpg", kUnticked, L"", L"", {Kind::File, L"Y:\\море.jpg"}}, // typed or picked
        {L"C:\\Фото", longServer, kUnticked, longServer, L"", {Kind::Withheld, longServer}},
        {L"C:\\Фото", L"\\\\?\\D:\\a.jpg", kUnticked, L"\\\\?\\D:\\a.jpg", L"", {Kind::File, L"\\\\?\\D:\\a.jpg"}},
        {L"C:\\Фото", L"日本.jpg", kTicked, L"", L"", {Kind::Refused, L"日本.jpg"}},
        {L"", L"море.jpg", kUnticked, L"", L"", {}},
    };
    for (const auto& c : cases) {
        const FolderLookState state {.folder = c.folder, .picture = c.picture, .copyPicture = c.copy};
        const PictureChoice choice = choosePicture(state, c.loaded, c.shownAnyway, standInDriveType);
        EXPECT_EQ(std::tuple(choice.kind, choice.path), std::tuple(c.expected.kind, c.expected.path))
            << "folder " << c.folder.size() << ", picture " << c.picture.size() << ", loaded " << c.loaded.size();
    }
}
