#pragma once

#include "ui/BrowseWindow.h"
#include "ui/EditWindow.h"

class TDatadeclaration;
class TFrmmain;
class WindowRegistry;

// The windows of the withholding types, the third parties and the personnel: a browse window over the
// shared dataset with "Ajouter", "Modifier", "Supprimer", "Imprimer" and "Fermer", and an edit window whose
// F10 and "OK" confirm the entry.

class TFrmtyperetenue : public BrowseWindow {
    Q_OBJECT
public:
    explicit TFrmtyperetenue(TDatadeclaration &dm, QWidget *parent = nullptr);

protected:
    void closing() override;
};

class TFrmtyperetenuemaj : public EditWindow {
    Q_OBJECT
public:
    explicit TFrmtyperetenuemaj(TDatadeclaration &dm, QWidget *parent = nullptr);
};

class TFrmtiersgrille : public BrowseWindow {
    Q_OBJECT
public:
    explicit TFrmtiersgrille(TDatadeclaration &dm, QWidget *parent = nullptr);
};

class TFrmtiersmaj : public EditWindow {
    Q_OBJECT
public:
    explicit TFrmtiersmaj(TDatadeclaration &dm, QWidget *parent = nullptr);
};

class TFrmpersonnel : public BrowseWindow {
    Q_OBJECT
public:
    explicit TFrmpersonnel(TDatadeclaration &dm, QWidget *parent = nullptr);

protected:
    void closing() override;
};

class TFrmpersonnelmaj : public EditWindow {
    Q_OBJECT
public:
    explicit TFrmpersonnelmaj(TDatadeclaration &dm, QWidget *parent = nullptr);
};

// The coded choices of the identifier type of a third party.
extern const QStringList kIdentifierTypeChoices;

// Adds the windows of companies, withholding types, third parties and personnel to a registry.
void registerReferenceWindows(WindowRegistry &registry);
