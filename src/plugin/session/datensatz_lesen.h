#pragma once
// The record readers of the shared function module: a database value (or a field object,
// which stands for its value) turned into a plain value. Both trap their own failures under
// module "Funktionen" and then return Empty, which later converts to 0 or false.

#include "platform/variant/variant.h"

namespace tarvex {

// 16-bit 0 for Null or the empty text "", otherwise the value unchanged.
Variant ZahlDatensatzLesen(Variant Wert);
// 16-bit 0 for Null, otherwise the value unchanged ("" stays "").
Variant BoolDatensatzLesen(Variant Wert);

}  // namespace tarvex
