#pragma once
// The demo invoice that `tarvex init` writes: a German invoice letter with letterhead, address,
// subject, the "lumStart" marker in its own paragraph and one sentence per amount marker.

#include <string>

namespace tarvex::cli {

// The bytes of the demo invoice package (.docx).
std::string demoInvoiceDocx();

}  // namespace tarvex::cli
