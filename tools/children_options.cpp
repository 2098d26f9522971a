#include "children_options.h"

#include "option_values.h"

namespace mandalix {

namespace {

bool isSet(const QCommandLineParser& parser, const char* name)
{
    return parser.isSet(QLatin1String(name));
}

QString valueOf(const QCommandLineParser& parser, const char* name)
{
    return parser.value(QLatin1String(name));
}

// The options only a variations run reads.
constexpr const char* kVariationOptions[] = {"mutation-seed", "strength", "lock"};

// A picture run writes OUT: the children's options have nothing to do in it.
bool refuseChildOptions(const QCommandLineParser& parser, QString& error)
{
    if (isSet(parser, "out-dir")) {
        error = QStringLiteral("--out-dir needs --variations, --breed or --count");
        return false;
    }
    for (const char* name : kVariationOptions)
        if (isSet(parser, name)) {
            error = QStringLiteral("--%1 needs --variations").arg(QLatin1String(name));
            return false;
        }
    return true;
}

// What every run that makes children shares: the folder, and no single output.
bool readOutDir(const QCommandLineParser& parser, const QString& mode, int parentsAfter, RenderOptions& options,
                QString& error)
{
    for (const char* name : {"params-out", "palette-out"})
        if (isSet(parser, name)) {
            error = QStringLiteral("--%1 cannot be used with %2: each child's parameters go into --out-dir")
                        .arg(QLatin1String(name), mode);
            return false;
        }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > parentsAfter) {
        const QString made = mode == QLatin1String("--count") ? QStringLiteral("pictures") : QStringLiteral("children");
        error = QStringLiteral("OUT \"%1\" cannot be used with %2: the %3 go into --out-dir")
                    .arg(positional.at(parentsAfter), mode, made);
        return false;
    }
    if (!isSet(parser, "out-dir")) {
        error = QStringLiteral("%1 needs --out-dir DIR").arg(mode);
        return false;
    }
    options.outDir = valueOf(parser, "out-dir");
    if (options.outDir.isEmpty()) {
        error = QStringLiteral("--out-dir: the folder name is empty");
        return false;
    }
    return true;
}

bool readVariations(const QCommandLineParser& parser, RenderOptions& options, QString& error)
{
    options.mode = RenderMode::Variations;
    if (!readOutDir(parser, QStringLiteral("--variations"), 0, options, error))
        return false;
    if (!isSet(parser, "params")) {
        error = QStringLiteral("--variations needs --params PARENT");
        return false;
    }
    if (!readWhole(QStringLiteral("variations"), valueOf(parser, "variations"), 1, kMaxVariations,
                   options.variations, error))
        return false;
    if (isSet(parser, "mutation-seed")
        && !readSeed(QStringLiteral("mutation-seed"), valueOf(parser, "mutation-seed"), options.mutationSeed, error))
        return false;
    if (isSet(parser, "strength")
        && !readDecimal(QStringLiteral("strength"), valueOf(parser, "strength"), options.strength, error))
        return false;
    for (const QString& name : parser.values(QStringLiteral("lock"))) {
        const Result<Group> group = parseGroup(name);
        if (!group.ok) {
            // The reader's sentence ends in a full stop, and the caller adds to it.
            error = QStringLiteral("--lock: ") + group.message;
            if (error.endsWith(u'.'))
                error.chop(1);
            return false;
        }
        options.locks = options.locks.with(group.value);
    }
    return true;
}

bool readBreed(const QCommandLineParser& parser, RenderOptions& options, QString& error)
{
    options.mode = RenderMode::Breed;
    if (isSet(parser, "params")) {
        error = QStringLiteral("--params cannot be used with --breed: the parents follow it (--breed A B)");
        return false;
    }
    for (const char* name : kVariationOptions)
        if (isSet(parser, name)) {
            error = QStringLiteral("--%1 cannot be used with --breed: it belongs to --variations")
                        .arg(QLatin1String(name));
            return false;
        }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        error = QStringLiteral("--breed needs two parents (--breed A B)");
        return false;
    }
    options.parents = {valueOf(parser, "breed"), positional.front()};
    if (options.parents[0].isEmpty() || options.parents[1].isEmpty()) {
        error = QStringLiteral("--breed: the file name is empty");
        return false;
    }
    return readOutDir(parser, QStringLiteral("--breed"), 1, options, error);
}

// A batch draws each picture from its seed: it takes no parent and keeps no lock.
bool readBatch(const QCommandLineParser& parser, RenderOptions& options, QString& error)
{
    options.mode = RenderMode::Batch;
    if (isSet(parser, "params")) {
        error = QStringLiteral("--params cannot be used with --count: each picture is drawn from its seed");
        return false;
    }
    for (const char* name : kVariationOptions)
        if (isSet(parser, name)) {
            error = QStringLiteral("--%1 cannot be used with --count: it belongs to --variations")
                        .arg(QLatin1String(name));
            return false;
        }
    return readWhole(QStringLiteral("count"), valueOf(parser, "count"), 1, kMaxBatch, options.count, error)
        && readOutDir(parser, QStringLiteral("--count"), 0, options, error);
}

} // namespace

bool readChildOptions(const QCommandLineParser& parser, RenderOptions& options, QString& error)
{
    const bool isVariations = isSet(parser, "variations");
    const bool isBreed = isSet(parser, "breed");
    const bool isBatch = isSet(parser, "count");
    if (int(isVariations) + int(isBreed) + int(isBatch) > 1) {
        error = isBatch ? QStringLiteral("--count cannot be used with %1")
                              .arg(isBreed ? QStringLiteral("--breed") : QStringLiteral("--variations"))
                        : QStringLiteral("--variations and --breed cannot be used together");
        return false;
    }
    if (isBatch)
        return readBatch(parser, options, error);
    if (isVariations)
        return readVariations(parser, options, error);
    if (isBreed)
        return readBreed(parser, options, error);
    return refuseChildOptions(parser, error);
}

} // namespace mandalix
