#include "calculators/registrierung.h"

#include "calculators/frmKat1.h"
#include "calculators/frmKat2.h"
#include "calculators/frmKat3.h"
#include "calculators/frmKat4.h"
#include "calculators/frmKat5.h"
#include "calculators/kalkulator_slot.h"

namespace tarvex {

void registriereKalkulatoren() {
    registerWindowFactory(
        0, [] { return std::make_unique<KalkulatorSlot>(std::make_unique<frmKat5>()); });
    registerWindowFactory(
        1, [] { return std::make_unique<KalkulatorSlot>(std::make_unique<frmKat4>()); });
    registerWindowFactory(
        2, [] { return std::make_unique<KalkulatorSlot>(std::make_unique<frmKat3>()); });
    registerWindowFactory(
        3, [] { return std::make_unique<KalkulatorSlot>(std::make_unique<frmKat2>()); });
    registerWindowFactory(
        4, [] { return std::make_unique<KalkulatorSlot>(std::make_unique<frmKat1>()); });
}

}  // namespace tarvex
