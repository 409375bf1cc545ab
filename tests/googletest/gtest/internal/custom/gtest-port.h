// GoogleTest's own place for a port's additions, found before its empty
// default when the Windows tests are built.
//
// GCC 12's win32 thread model has no std::mutex or std::condition_variable;
// of GoogleTest, only the Notification that its own thread helpers wait on
// is built from them. This one needs neither. No test of ours starts a thread.
#ifndef ORVANTA_GTEST_CUSTOM_PORT_H_
#define ORVANTA_GTEST_CUSTOM_PORT_H_

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing

#endif  // ORVANTA_GTEST_CUSTOM_PORT_H_
