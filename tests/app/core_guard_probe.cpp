// Deliberately wrong: core code including a widget header must fail to compile.
#include <QtWidgets/QWidget>
