// Where a picture came from: drawn at random, mutated from a parent, bred from two
// parents (a crossover of their groups, or an interpolation between them), edited from
// another picture or adopted from a file. Parents are named by their imeslike. A plain value held by a picture
// record; safe on any thread; nothing here fails.
#pragma once

#include <QString>
#include <QStringList>

namespace mandalix {

struct Lineage {
    enum class Kind { Drawn, Mutated, Crossover, Interpolation, Adopted, Edited };
    Kind kind = Kind::Drawn;
    // Mutated and edited: the one parent. Crossover and interpolation: the first of the two.
    QString parent;
    // Crossover and interpolation: the second parent.
    QString otherParent;
    // Mutated: the seed of the mutation and its strength.
    double seed = 0;
    double strength = 0;
    // Crossover: the groups taken from the second parent; the rest came from the first.
    QStringList fromOther;
    // Interpolation: how far from the first parent towards the second, in (0, 1).
    double fraction = 0;
    // Adopted: the name of the file the picture was read from.
    QString file;

    static Lineage mutatedFrom(const QString& parent, double seed, double strength)
    {
        Lineage lineage = bornOf(Kind::Mutated, parent, {});
        lineage.seed = seed;
        lineage.strength = strength;
        return lineage;
    }
    static Lineage crossoverOf(const QString& parent, const QString& otherParent, const QStringList& fromOther)
    {
        Lineage lineage = bornOf(Kind::Crossover, parent, otherParent);
        lineage.fromOther = fromOther;
        return lineage;
    }
    static Lineage interpolationOf(const QString& parent, const QString& otherParent, double fraction)
    {
        Lineage lineage = bornOf(Kind::Interpolation, parent, otherParent);
        lineage.fraction = fraction;
        return lineage;
    }
    static Lineage editedFrom(const QString& parent) { return bornOf(Kind::Edited, parent, {}); }
    static Lineage adoptedFrom(const QString& file)
    {
        Lineage lineage;
        lineage.kind = Kind::Adopted;
        lineage.file = file;
        return lineage;
    }

    bool isDrawn() const { return kind == Kind::Drawn; }
    bool operator==(const Lineage&) const = default;

private:
    static Lineage bornOf(Kind kind, const QString& parent, const QString& otherParent)
    {
        Lineage lineage;
        lineage.kind = kind;
        lineage.parent = parent;
        lineage.otherParent = otherParent;
        return lineage;
    }
};

} // namespace mandalix
