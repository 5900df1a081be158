#pragma once

#include <QString>

// The company and fiscal year the user works on: five texts, set when the company list closes.
struct ActiveCompany {
    QString code;     // declarant code, 12 characters
    QString exercice; // fiscal year, four digits
    QString name;
    QString address;
    QString activity;

    bool isChosen() const { return !code.isEmpty() || !exercice.isEmpty() || !name.isEmpty(); }
};
