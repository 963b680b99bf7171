#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/process_info.h"
#include "tests/support/env_override.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/spawned_child.h"
#include "utils/system_probes.h"

namespace {

class InstanceLockTest : public ::testing::Test {
 protected:
  std::string Holder() const {
    const char* bin = std::getenv("VELMORA_BIN_DIR");
    return std::string(bin != nullptr ? bin : ".") + "/platform_lock_holder";
  }
  // One runtime folder and a name of our own, so parallel runs never meet.
  ScratchFolder runtime_;
  EnvOverride runtimeDir_{"XDG_RUNTIME_DIR", runtime_.Path().c_str()};
  std::string name_ = "Installer_Velmora_test" + std::to_string(Platform::CurrentProcessId());
  std::wstring wideName_{name_.begin(), name_.end()};
};

TEST_F(InstanceLockTest, SecondProcessFindsTheLockTakenUntilTheHolderDies) {
  SpawnedChild first(Holder(), {name_});
  ASSERT_TRUE(first.Started());
  ASSERT_EQ(first.ReadLine(), "held");

  Utils::InstanceLock here(wideName_);
  EXPECT_FALSE(here.Acquire());
  SpawnedChild second(Holder(), {name_});
  EXPECT_EQ(second.ReadLine(), "busy");

  first.Kill();  // a crash: the holder never releases the lock itself
  EXPECT_TRUE(here.Acquire());
  EXPECT_TRUE(here.Held());
  SpawnedChild third(Holder(), {name_});
  EXPECT_EQ(third.ReadLine(), "busy");
}

TEST_F(InstanceLockTest, ReleaseAndDestructionFreeTheLockInProcess) {
  {
    Utils::InstanceLock owner(wideName_);
    ASSERT_TRUE(owner.Acquire());
    EXPECT_TRUE(owner.Acquire());  // already held: stays held
    Utils::InstanceLock rival(wideName_);
    EXPECT_FALSE(rival.Acquire());
    owner.Release();
    EXPECT_TRUE(rival.Acquire());
  }
  SpawnedChild child(Holder(), {name_});
  EXPECT_EQ(child.ReadLine(), "held");
  child.CloseStdin();
  EXPECT_EQ(child.ReadLine(), "");  // end of output: the holder exits on its own
  EXPECT_EQ(child.Wait(), 0);
}

TEST_F(InstanceLockTest, ChildProcessesDoNotInheritTheLock) {
  Utils::InstanceLock owner(wideName_);
  ASSERT_TRUE(owner.Acquire());
  // A child started while the lock is held (as the package is) ...
  SpawnedChild child(Holder(), {name_ + "_other"});
  ASSERT_EQ(child.ReadLine(), "held");
  owner.Release();
  // ... does not keep it alive after the owner lets go.
  Utils::InstanceLock again(wideName_);
  EXPECT_TRUE(again.Acquire());
}

}  // namespace
