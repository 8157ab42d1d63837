#pragma once

#include <QString>

// A module's version record: company, legal notice, major, minor, revision, trademarks.
class VersionInfo
{
public:
    QString CompanyName;
    QString LegalCopyright;
    int Major = 0;
    int Minor = 0;
    int Revision = 0;
    QString LegalTrademarks;

    // The file version text: "16.09.0001" for 16.9 revision 1.
    QString fileVersion() const;
};
