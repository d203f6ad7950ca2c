#pragma once
// A calculator window in Show's window slot: loading runs Form_Load and shows the window
// non-modally; a loaded window is only brought forward again.

#include <memory>

#include "calculators/kalkulator_fenster.h"
#include "plugin/session/window_slots.h"

namespace tarvex {

class KalkulatorSlot final : public WindowSlot {
  public:
    explicit KalkulatorSlot(std::unique_ptr<KalkulatorFenster> fenster)
        : fenster_(std::move(fenster)) {}
    bool isLoaded() const override { return fenster_->isLoaded(); }
    void loadAndShow() override { fenster_->show(false); }
    void activate() override { fenster_->show(false); }
    bool isAlive() const override { return fenster_->isLoaded(); }

    KalkulatorFenster& fenster() { return *fenster_; }

  private:
    std::unique_ptr<KalkulatorFenster> fenster_;
};

}  // namespace tarvex
