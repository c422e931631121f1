#include "answers/FolderListing.h"

#include <gtest/gtest.h>

#include <string>

#include "app/LauncherWindow.h"
#include "support/Win32Test.h"

namespace {

// The listing's search, failing after some names as a network folder can.
class FailingListing : public FolderListing {
public:
    int left = 2;

protected:
    int FindNext(void* find, void* item) override {
        return left-- > 0 ? FolderListing::FindNext(find, item) : -1;
    }
};

TEST(FolderListingLoad, AListingThatFailsPartWayIsDroppedAndTheSearchAnswers) {
    test::TempFolder folder;
    for (const char* name : {"a1", "a2", "a3", "a4", "a5"}) test::WriteTextFile(folder.File(name), "x");
    std::string base = folder.Path() + "\\";
    FailingListing listing;
    EXPECT_EQ(listing.Hold(base.c_str(), static_cast<int>(base.size())), 0);
    while (listing.Continue(LauncherWindow::kListingSliceMs)) {
    }
    // Held as complete, it would answer "a4" with nothing.
    EXPECT_EQ(listing.Hold(base.c_str(), static_cast<int>(base.size())), 0);
    FolderMatch match;
    EXPECT_EQ(listing.Find("a", 0, &match), 0);
}

}  // namespace
