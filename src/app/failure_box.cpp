#include "app/failure_box.h"

namespace mandalix {

void FailureBox::show(const QString& text)
{
    if (m_box) {
        m_box->setText(m_box->text() + u'\n' + text);
        return;
    }
    m_box = new QMessageBox(QMessageBox::Warning, QStringLiteral("mandalix"), text, QMessageBox::Ok, &m_parent);
    m_box->setAttribute(Qt::WA_DeleteOnClose);
    m_box->setWindowModality(Qt::NonModal);
    m_box->show();
}

void FailureBox::close()
{
    if (m_box)
        m_box->close();
}

} // namespace mandalix
