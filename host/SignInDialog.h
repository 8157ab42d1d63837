#pragma once

#include <QDialog>

class QListWidget;

// Asks who signs in, listing the users of pv_User.
class SignInDialog : public QDialog
{
    Q_OBJECT
public:
    // `users`: (id, display text) pairs.
    explicit SignInDialog(const QList<QPair<QString, QString>>& users, QWidget* parent = nullptr);
    QString userId() const;

private:
    QListWidget* m_list;
};
