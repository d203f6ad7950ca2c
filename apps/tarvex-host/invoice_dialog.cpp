#include "invoice_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvex::desktop {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QTableWidgetItem* cell(const QString& text, bool amount = false) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (amount) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

InvoiceDialog::InvoiceDialog(std::vector<host::InvoiceSummary> invoices, std::optional<int> current,
                             QWidget* parent)
    : QDialog(parent), invoices_(std::move(invoices)), table_(new QTableWidget(this)) {
    setWindowTitle(QStringLiteral("Rechnungsdatensatz wählen"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("&Beträge speichern in:"), this);
    intro->setBuddy(table_);
    layout->addWidget(intro);

    const QStringList headers{QStringLiteral("Rechnungsnummer"), QStringLiteral("Art"),
                              QStringLiteral("Auftrag"),         QStringLiteral("Rechnungsdatum"),
                              QStringLiteral("Netto"),           QStringLiteral("Brutto"),
                              QStringLiteral("MwSt.-frei")};
    table_->setColumnCount(int(headers.size()));
    table_->setHorizontalHeaderLabels(headers);
    table_->setRowCount(int(invoices_.size()) + 1);
    table_->setItem(0, 0, cell(QStringLiteral("(kein Rechnungsdatensatz)")));
    for (int c = 1; c < headers.size(); ++c) table_->setItem(0, c, cell(QString()));
    int selected = 0;
    for (std::size_t i = 0; i < invoices_.size(); ++i) {
        const auto& r = invoices_[i];
        const int row = int(i) + 1;
        table_->setItem(row, 0, cell(qt(r.number)));
        table_->setItem(row, 1, cell(qt(host::invoiceKindText(r.kind))));
        table_->setItem(row, 2, cell(r.order ? QString::number(*r.order) : QString()));
        table_->setItem(row, 3, cell(qt(r.date)));
        table_->setItem(row, 4, cell(qt(host::euroText(r.netCents)), true));
        table_->setItem(row, 5, cell(qt(host::euroText(r.grossCents)), true));
        table_->setItem(row, 6, cell(qt(host::euroText(r.vatFreeCents)), true));
        if (current && r.id == *current) selected = row;
    }
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->selectRow(selected);
    layout->addWidget(table_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    // Wide enough for every column and for the whole title (the title bar's buttons included).
    int columns = 0;
    for (int c = 0; c < table_->columnCount(); ++c) columns += table_->columnWidth(c);
    const int title = fontMetrics().horizontalAdvance(windowTitle()) + 160;
    setMinimumWidth(std::max({columns + 40, title, 480}));
    resize(minimumWidth(), 320);
    table_->setFocus();
}

std::optional<int> InvoiceDialog::chosen() const {
    const int row = table_->currentRow();
    if (row <= 0 || row > int(invoices_.size())) return std::nullopt;
    return invoices_[std::size_t(row - 1)].id;
}

}  // namespace tarvex::desktop
