#include "form1.h"

namespace quorin {

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle("Quorin");
}

} // namespace quorin
