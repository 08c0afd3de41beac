#include "ui/timer.h"

#include "ui/application.h"

namespace ui {

Timer::Timer(Component* owner) : Component(owner) {
  App().RegisterTimer(this);
  Restart();
}

Timer::~Timer() { App().UnregisterTimer(this); }

void Timer::Restart() { due_ = App().Now() + interval_; }

void Timer::SetEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  Restart();
}

void Timer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Restart();
}

void Timer::SetOnTimer(NotifyEvent handler) {
  onTimer_ = std::move(handler);
  Restart();
}

void Timer::Fire() {
  if (onTimer_) {
    NotifyEvent h = onTimer_;  // the handler may replace itself
    h(this);
  }
}

}  // namespace ui
