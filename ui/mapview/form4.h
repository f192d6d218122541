#pragma once
// The converter window: writes the binary map open in the viewer as an LND file.
#include <QDialog>

namespace kv::ui {

class Form1;

class Form4 : public QDialog {
    Q_OBJECT
public:
    explicit Form4(Form1& viewer);

private:
    Form1& viewer_;
};

} // namespace kv::ui
