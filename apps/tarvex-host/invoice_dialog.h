#pragma once
// "Rechnung wählen": the invoice records of the host database, one row each (number, kind in
// words, order, invoice date, stored amounts in euros), plus a first row for "no record".
// Return or a double click takes the row, Escape cancels.

#include <QDialog>
#include <optional>
#include <vector>

#include "invoice_records.h"

class QTableWidget;

namespace tarvex::desktop {

class InvoiceDialog : public QDialog {
    Q_OBJECT
  public:
    // `current`: the record chosen so far (its row starts selected; nullopt: the first row).
    InvoiceDialog(std::vector<host::InvoiceSummary> invoices, std::optional<int> current,
                  QWidget* parent = nullptr);

    // The record of the selected row; nullopt for "(kein Rechnungsdatensatz)".
    std::optional<int> chosen() const;
    QTableWidget* table() const { return table_; }

  private:
    std::vector<host::InvoiceSummary> invoices_;
    QTableWidget* table_;
};

}  // namespace tarvex::desktop
