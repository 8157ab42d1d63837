#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The module's actions as the host's menu groups them: bill reports, period and summary
// reports, member and account reports, charts and bookings. Group and action captions are
// keys of HostCaptions.
namespace ModuleMenu {

struct Group
{
    QString captionKey;
    QStringList actions; // action names, which are also their caption keys
};

const QList<Group>& groups();

} // namespace ModuleMenu
