#include "app/number_edit.h"

#include <QLineEdit>

namespace anitrope {

int64_t NumberOf(const QLineEdit& edit) {
    bool ok = false;
    const qlonglong value = edit.text().toLongLong(&ok);
    return ok ? value : 0;
}

}  // namespace anitrope
