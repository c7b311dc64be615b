#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <utility>

#include "platform/unique_fd.h"

using corvesta::UniqueFd;

namespace {

bool IsOpen(int fd) {
  return ::fcntl(fd, F_GETFD) != -1;
}

// Both ends of a fresh pipe; the write end is closed by the caller.
int ReadEndOfPipe(int &writeEnd) {
  int ends[2] = {-1, -1};
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    return -1;
  }
  writeEnd = ends[1];
  return ends[0];
}

} // namespace

TEST(UniqueFd, ClosesWhatItOwnsExactlyOnce) {
  int writeEnd = -1;
  const int readEnd = ReadEndOfPipe(writeEnd);
  ASSERT_GE(readEnd, 0);
  ::close(writeEnd);
  {
    UniqueFd first(readEnd);
    UniqueFd moved(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(moved.Get(), readEnd);
    UniqueFd assigned;
    assigned = std::move(moved);
    EXPECT_FALSE(moved);
    EXPECT_TRUE(IsOpen(readEnd)) << "a move closes nothing";
  }
  EXPECT_FALSE(IsOpen(readEnd)) << "closed when the last owner went";
}

TEST(UniqueFd, AssigningOverAnOwnerClosesItsOldDescriptor) {
  int writeA = -1;
  int writeB = -1;
  const int a = ReadEndOfPipe(writeA);
  const int b = ReadEndOfPipe(writeB);
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  ::close(writeA);
  ::close(writeB);
  UniqueFd owner(a);
  owner = UniqueFd(b);
  EXPECT_FALSE(IsOpen(a));
  EXPECT_TRUE(IsOpen(b));
  EXPECT_TRUE(owner.Close());
  EXPECT_FALSE(IsOpen(b));
  EXPECT_FALSE(owner);
  EXPECT_TRUE(owner.Close()) << "nothing left to close is no failure";
}

TEST(UniqueFd, ReleaseHandsTheDescriptorOnOpen) {
  int writeEnd = -1;
  const int readEnd = ReadEndOfPipe(writeEnd);
  ASSERT_GE(readEnd, 0);
  ::close(writeEnd);
  int released = -1;
  {
    UniqueFd owner(readEnd);
    released = owner.Release();
  }
  EXPECT_EQ(released, readEnd);
  EXPECT_TRUE(IsOpen(released));
  ::close(released);
}

TEST(UniqueFd, AFailedOpenIsNoDescriptor) {
  UniqueFd failed(::open("/nonexistent/corvesta", O_RDONLY | O_CLOEXEC));
  EXPECT_FALSE(failed);
  EXPECT_EQ(failed.Get(), -1);
  UniqueFd negative(-7);
  EXPECT_EQ(negative.Get(), -1);
}
