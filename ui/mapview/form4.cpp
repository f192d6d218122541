#include "ui/mapview/form4.h"

#include "ui/mapview/form1.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

Form4::Form4(Form1& viewer) : QDialog(&viewer), viewer_(viewer) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(tr("Convert MAP to LND"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Writes the binary map open in the viewer as an LND file "
                                    "that the map editor opens.")));
    auto* note = new QPushButton(tr("Supported tile set..."));
    note->setObjectName(QStringLiteral("CmdNote"));
    connect(note, &QPushButton::clicked, this, [this] {
        viewer_.ui().message("Only maps of the KorvaneDataC1 tile set convert correctly; the "
                             "tile types of the other tile sets are not written.",
                             Icon::Information);
    });
    layout->addWidget(note);
    auto* convert = new QPushButton(tr("Convert..."));
    convert->setObjectName(QStringLiteral("CmdConvert"));
    connect(convert, &QPushButton::clicked, this, [this] { viewer_.viewer().convert(); });
    layout->addWidget(convert);
}

} // namespace kv::ui
