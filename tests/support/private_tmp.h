#pragma once

#include <string>

// The user's private folder (/run/user/<uid>, else /tmp/qv70-<uid>) is shared
// by every program of the user, other test runs included. A test of what lives
// there runs its body again in a child process with a /tmp and a /run/user of
// its own (a private mount namespace; as root, or in a user namespace where the
// system allows one), so it meets nobody else's lock or simulator.
namespace qv70::test {

// True inside that child process.
bool InPrivateTmp();

// Runs the test `fullName` ("Suite.DISABLED_Name", a test of this program that
// does nothing outside the child) in the child and reports its result as this
// test's: a failure with the child's output, or a skip when no namespace can
// be had here.
void RunInPrivateTmp(const std::string& fullName);

// The same for a test that mounts what it needs (a small tmpfs, an empty
// /proc): a child with a mount namespace of its own, every file system as it is.
bool InOwnMounts();
void RunInOwnMounts(const std::string& fullName);

}  // namespace qv70::test
