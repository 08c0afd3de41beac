// Timers on the application's virtual clock.
#pragma once

#include <cstdint>

#include "ui/component.h"

namespace ui {

// Fires OnTimer every Interval ms while enabled. Any change of Enabled,
// Interval or OnTimer restarts it: the next tick comes a full interval later.
class Timer : public Component {
 public:
  explicit Timer(Component* owner = nullptr);
  ~Timer() override;
  std::string ClassName() const override { return "TTimer"; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  void SetOnTimer(NotifyEvent handler);
  const NotifyEvent& OnTimer() const { return onTimer_; }
  // Whether it will fire: enabled, a positive interval and a handler.
  bool Running() const { return enabled_ && interval_ > 0 && onTimer_; }

 private:
  friend class Application;
  void Restart();
  void Fire();
  bool enabled_ = true;
  int interval_ = 1000;
  NotifyEvent onTimer_;
  std::int64_t due_ = 0;
};

}  // namespace ui
