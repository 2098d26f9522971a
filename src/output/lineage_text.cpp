#include "output/lineage_text.h"

#include <cmath>

namespace mandalix {

namespace {

// A fraction in quarters as a person writes it ("1/4", "1/2", "3/4"), anything else as
// the shortest decimal.
QString fractionText(double fraction)
{
    const double quarters = fraction * 4;
    if (quarters != std::floor(quarters) || quarters <= 0 || quarters >= 4)
        return QString::number(fraction);
    const int whole = static_cast<int>(quarters);
    return whole == 2 ? QStringLiteral("1/2") : QStringLiteral("%1/4").arg(whole);
}

QString parentsText(const Lineage& lineage)
{
    return QStringLiteral("bred from %1 and %2").arg(lineage.parent, lineage.otherParent);
}

} // namespace

QString lineageText(const Lineage& lineage)
{
    switch (lineage.kind) {
    case Lineage::Kind::Drawn:
        break;
    case Lineage::Kind::Mutated:
        return QStringLiteral("mutated from %1 (seed %2, strength %3)")
            .arg(lineage.parent, QString::number(lineage.seed), QString::number(lineage.strength));
    case Lineage::Kind::Crossover:
        return lineage.fromOther.isEmpty()
            ? QStringLiteral("%1 (crossover: all from %2)").arg(parentsText(lineage), lineage.parent)
            : QStringLiteral("%1 (crossover: %2 from %3)")
                  .arg(parentsText(lineage), lineage.fromOther.join(QStringLiteral(", ")),
                       lineage.otherParent);
    case Lineage::Kind::Interpolation:
        return QStringLiteral("%1 (interpolation %2)").arg(parentsText(lineage), fractionText(lineage.fraction));
    case Lineage::Kind::Adopted:
        return QStringLiteral("adopted from %1").arg(lineage.file);
    case Lineage::Kind::Edited:
        return QStringLiteral("edited from %1").arg(lineage.parent);
    }
    return QStringLiteral("drawn at random");
}

} // namespace mandalix
