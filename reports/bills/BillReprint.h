#pragma once

#include <QString>

class QWidget;

// Reprints a settled bill through the host's report printer ("OldBill", parameter "BillID"):
// asks `confirm` first (yes/no), prints on Yes, and shows `fault` when printing fails. True
// when the bill was printed; when printing failed, *why (if given) says why.
bool ReprintBill(const QString& billId, const QString& confirm, const QString& fault,
                 QWidget* parent, QString* why = nullptr);
