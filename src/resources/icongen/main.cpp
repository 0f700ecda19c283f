// icongen: renders the package's SVG icon sources at build time.
//
//   icongen png <source.svg> <output.png> <width>x<height> [from=to ...]
//   icongen gif <source.svg> <output.gif> <width>x<height> <frames> [from=to ...]
//   icongen svg <source.svg> <output.svg> [from=to ...]
//
// Every "from=to" argument replaces a colour (or any other literal text) in the
// source before it is used, "a1a1a1=ff9900" standing for "#a1a1a1=#ff9900"; one
// source thus yields the normal, hover, pressed and disabled looks of a button.
//
// A source may animate itself with SMIL elements (animate, animateColor,
// animateTransform), so that a browser shows the same loop. The still ("png") is
// the drawing without its animation elements; the GIF samples one loop of them.
// QSvgRenderer's own animation clock follows the wall clock, so the animations are
// evaluated here instead and each frame is rendered as a static drawing: the output
// is the same byte for byte on every build.
//
// Supported animation subset: every animation repeats for ever, with its "begin"
// taken as a phase offset (negative values are the usual way to stagger); "values"
// or "from"/"to"; "keyTimes"; calcMode linear, discrete, paced (as linear) and
// spline with "keySplines"; additive="sum" for animateTransform. The loop of the
// GIF is as long as the longest "dur" in the source.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLoggingCategory>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "iconbuilder/gifwriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

Q_LOGGING_CATEGORY(lcIconGen, "systemdll.icongen")

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// GIF has no partial transparency: pixels at least this opaque are blended onto the
// matte colour (the key face's background), fainter ones become transparent.
constexpr int kAlphaThreshold = 32;
const QColor kMatte(0x1e, 0x1e, 0x1e);

struct XmlNode
{
    QString name; // empty for a text node
    QList<QPair<QString, QString>> attributes;
    QList<XmlNode> children;
    QString text;

    QString attribute(const QString &key, const QString &fallback = QString()) const
    {
        for (const auto &a : attributes) {
            if (a.first == key)
                return a.second;
        }
        return fallback;
    }

    bool hasAttribute(const QString &key) const
    {
        for (const auto &a : attributes) {
            if (a.first == key)
                return true;
        }
        return false;
    }

    void setAttribute(const QString &key, const QString &value)
    {
        for (auto &a : attributes) {
            if (a.first == key) {
                a.second = value;
                return;
            }
        }
        attributes.append({key, value});
    }
};

bool isAnimationElement(const QString &name)
{
    return name == QLatin1String("animate") || name == QLatin1String("animateColor")
           || name == QLatin1String("animateTransform") || name == QLatin1String("animateMotion")
           || name == QLatin1String("set");
}

bool parseXml(const QByteArray &data, XmlNode &root, QString &error)
{
    QXmlStreamReader reader(data);
    reader.setNamespaceProcessing(false);
    QList<XmlNode *> stack;
    bool haveRoot = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            XmlNode node;
            node.name = reader.qualifiedName().toString();
            for (const auto &a : reader.attributes())
                node.attributes.append({a.qualifiedName().toString(), a.value().toString()});
            for (const auto &ns : reader.namespaceDeclarations()) {
                const QString key = ns.prefix().isEmpty()
                                        ? QStringLiteral("xmlns")
                                        : QStringLiteral("xmlns:") + ns.prefix().toString();
                if (!node.hasAttribute(key))
                    node.attributes.append({key, ns.namespaceUri().toString()});
            }
            if (stack.isEmpty()) {
                if (haveRoot) {
                    error = QStringLiteral("more than one root element");
                    return false;
                }
                root = node;
                haveRoot = true;
                stack.append(&root);
            } else {
                stack.last()->children.append(node);
                stack.append(&stack.last()->children.last());
            }
        } else if (reader.isEndElement()) {
            stack.removeLast();
        } else if (reader.isCharacters() && !reader.isWhitespace() && !stack.isEmpty()) {
            XmlNode text;
            text.text = reader.text().toString();
            stack.last()->children.append(text);
        }
    }
    if (reader.hasError()) {
        error = QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
        return false;
    }
    if (!haveRoot || root.name != QLatin1String("svg")) {
        error = QStringLiteral("no <svg> root element");
        return false;
    }
    return true;
}

void writeNode(QXmlStreamWriter &writer, const XmlNode &node)
{
    if (node.name.isEmpty()) {
        writer.writeCharacters(node.text);
        return;
    }
    writer.writeStartElement(node.name);
    for (const auto &a : node.attributes)
        writer.writeAttribute(a.first, a.second);
    for (const auto &child : node.children)
        writeNode(writer, child);
    writer.writeEndElement();
}

QByteArray serialize(const XmlNode &root)
{
    QByteArray out;
    QXmlStreamWriter writer(&out);
    writer.writeStartDocument();
    writeNode(writer, root);
    writer.writeEndDocument();
    return out;
}

// A clock value in seconds: "1.5s", "400ms", "2" (seconds). NaN when unreadable.
double parseClock(QString text)
{
    text = text.trimmed();
    double scale = 1.0;
    if (text.endsWith(QLatin1String("ms"))) {
        scale = 0.001;
        text.chop(2);
    } else if (text.endsWith(QLatin1Char('s'))) {
        text.chop(1);
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value * scale : std::nan("");
}

QList<double> parseNumberList(const QString &text, const QRegularExpression &separator)
{
    QList<double> numbers;
    const QStringList parts = text.split(separator, Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        bool ok = false;
        const double value = part.trimmed().toDouble(&ok);
        if (!ok)
            return {};
        numbers.append(value);
    }
    return numbers;
}

QString formatNumber(double value)
{
    if (std::abs(value) < 1e-9)
        value = 0.0;
    QString text = QString::number(value, 'f', 4);
    while (text.contains(QLatin1Char('.')) && (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

// Cubic Bézier easing (0,0)-(x1,y1)-(x2,y2)-(1,1): solves x(s) = u, returns y(s).
double bezierEase(double u, const QList<double> &spline)
{
    const double x1 = spline[0], y1 = spline[1], x2 = spline[2], y2 = spline[3];
    auto curve = [](double s, double p1, double p2) {
        const double r = 1.0 - s;
        return 3.0 * r * r * s * p1 + 3.0 * r * s * s * p2 + s * s * s;
    };
    double lo = 0.0, hi = 1.0, s = u;
    for (int i = 0; i < 60; ++i) {
        s = (lo + hi) / 2.0;
        if (curve(s, x1, x2) < u)
            lo = s;
        else
            hi = s;
    }
    return curve(s, y1, y2);
}

// Interpolates two attribute values: colours channel by channel, anything else
// number by number when both have the same shape. Null when they cannot be mixed.
QString interpolate(const QString &from, const QString &to, double u)
{
    static const QRegularExpression hexColour(QStringLiteral("^#[0-9a-fA-F]{3}([0-9a-fA-F]{3})?$"));
    const QString a = from.trimmed(), b = to.trimmed();
    if (hexColour.match(a).hasMatch() && hexColour.match(b).hasMatch()) {
        const QColor ca(a), cb(b);
        const QColor mixed(qRound(ca.red() + (cb.red() - ca.red()) * u),
                           qRound(ca.green() + (cb.green() - ca.green()) * u),
                           qRound(ca.blue() + (cb.blue() - ca.blue()) * u));
        return mixed.name();
    }
    static const QRegularExpression number(QStringLiteral("[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?"));
    QList<double> na, nb;
    QString shapeA, shapeB;
    auto split = [](const QString &text, QList<double> &numbers, QString &shape) {
        int last = 0;
        auto it = number.globalMatch(text);
        while (it.hasNext()) {
            const auto m = it.next();
            shape += text.mid(last, m.capturedStart() - last) + QLatin1Char('\x01');
            numbers.append(m.captured().toDouble());
            last = m.capturedEnd();
        }
        shape += text.mid(last);
    };
    split(a, na, shapeA);
    split(b, nb, shapeB);
    if (na.isEmpty() || na.size() != nb.size() || shapeA != shapeB)
        return QString();
    QString out;
    int n = 0;
    for (const QChar c : shapeA) {
        if (c == QLatin1Char('\x01')) {
            out += formatNumber(na[n] + (nb[n] - na[n]) * u);
            ++n;
        } else {
            out += c;
        }
    }
    return out;
}

struct Animation
{
    enum class Mode { Linear, Discrete, Spline };

    QString attribute;
    QString transformType; // set for animateTransform
    QStringList values;
    QList<double> keyTimes;
    QList<QList<double>> keySplines;
    Mode mode = Mode::Linear;
    double duration = 0.0;
    double begin = 0.0;
    bool additive = false;

    bool isTransform() const { return !transformType.isEmpty(); }

    QString valueAt(double time) const
    {
        double p = std::fmod(time - begin, duration) / duration;
        if (p < 0.0)
            p += 1.0;
        // A key time that falls on a frame's time counts as reached.
        p = qMin(p + 1e-9, 1.0);
        const int count = int(values.size());
        if (count == 1)
            return values.first();
        if (mode == Mode::Discrete) {
            int index = 0;
            for (int i = 0; i < count; ++i) {
                if (p >= keyTimes[i])
                    index = i;
            }
            return values[index];
        }
        int i = 0;
        while (i < count - 2 && p >= keyTimes[i + 1])
            ++i;
        const double span = keyTimes[i + 1] - keyTimes[i];
        double u = span > 0.0 ? (p - keyTimes[i]) / span : 1.0;
        u = qBound(0.0, u, 1.0);
        if (mode == Mode::Spline)
            u = bezierEase(u, keySplines[i]);
        const QString mixed = interpolate(values[i], values[i + 1], u);
        return mixed.isNull() ? (u < 0.5 ? values[i] : values[i + 1]) : mixed;
    }
};

bool parseAnimation(const XmlNode &node, Animation &anim, QString &error)
{
    if (node.name == QLatin1String("animateTransform")) {
        anim.attribute = node.attribute(QStringLiteral("attributeName"), QStringLiteral("transform"));
        anim.transformType = node.attribute(QStringLiteral("type"), QStringLiteral("translate"));
    } else if (node.name == QLatin1String("animate") || node.name == QLatin1String("animateColor")) {
        anim.attribute = node.attribute(QStringLiteral("attributeName"));
    } else {
        error = QStringLiteral("<%1> is not supported").arg(node.name);
        return false;
    }
    if (anim.attribute.isEmpty()) {
        error = QStringLiteral("<%1> without attributeName").arg(node.name);
        return false;
    }
    anim.duration = parseClock(node.attribute(QStringLiteral("dur")));
    if (!(anim.duration > 0.0)) {
        error = QStringLiteral("<%1 attributeName=\"%2\"> needs a positive dur").arg(node.name, anim.attribute);
        return false;
    }
    const QString begin = node.attribute(QStringLiteral("begin"), QStringLiteral("0s"));
    anim.begin = parseClock(begin);
    if (std::isnan(anim.begin)) {
        error = QStringLiteral("begin=\"%1\" is not a clock value").arg(begin);
        return false;
    }
    if (node.hasAttribute(QStringLiteral("values"))) {
        for (const QString &v : node.attribute(QStringLiteral("values")).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            anim.values.append(v.trimmed());
    } else if (node.hasAttribute(QStringLiteral("from")) && node.hasAttribute(QStringLiteral("to"))) {
        anim.values = {node.attribute(QStringLiteral("from")).trimmed(), node.attribute(QStringLiteral("to")).trimmed()};
    }
    if (anim.values.isEmpty()) {
        error = QStringLiteral("<%1 attributeName=\"%2\"> has no values").arg(node.name, anim.attribute);
        return false;
    }
    const QString calcMode = node.attribute(QStringLiteral("calcMode"), QStringLiteral("linear"));
    if (calcMode == QLatin1String("discrete"))
        anim.mode = Animation::Mode::Discrete;
    else if (calcMode == QLatin1String("spline"))
        anim.mode = Animation::Mode::Spline;
    else if (calcMode != QLatin1String("linear") && calcMode != QLatin1String("paced")) {
        error = QStringLiteral("calcMode \"%1\" is not supported").arg(calcMode);
        return false;
    }
    const int count = int(anim.values.size());
    static const QRegularExpression semicolon(QStringLiteral(";"));
    if (node.hasAttribute(QStringLiteral("keyTimes"))) {
        anim.keyTimes = parseNumberList(node.attribute(QStringLiteral("keyTimes")), semicolon);
        if (anim.keyTimes.size() != count) {
            error = QStringLiteral("keyTimes of \"%1\" do not match its %2 values").arg(anim.attribute).arg(count);
            return false;
        }
    } else {
        const int steps = anim.mode == Animation::Mode::Discrete ? count : count - 1;
        for (int i = 0; i < count; ++i)
            anim.keyTimes.append(steps > 0 ? double(i) / steps : 0.0);
    }
    if (anim.mode == Animation::Mode::Spline) {
        const QStringList splines = node.attribute(QStringLiteral("keySplines")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        static const QRegularExpression blankOrComma(QStringLiteral("[\\s,]+"));
        for (const QString &s : splines) {
            const QList<double> spline = parseNumberList(s.trimmed(), blankOrComma);
            if (spline.size() != 4) {
                error = QStringLiteral("keySpline \"%1\" needs four numbers").arg(s.trimmed());
                return false;
            }
            anim.keySplines.append(spline);
        }
        if (anim.keySplines.size() != count - 1) {
            error = QStringLiteral("\"%1\" needs %2 keySplines").arg(anim.attribute).arg(count - 1);
            return false;
        }
    }
    anim.additive = node.attribute(QStringLiteral("additive")) == QLatin1String("sum");
    return true;
}

// Replaces every animation element by its value at `time`, or, with a negative
// time, drops them and leaves the drawing as written. Collects the durations.
bool resolveAnimations(XmlNode &node, double time, QList<double> *durations, QString &error)
{
    QList<XmlNode> kept;
    QList<Animation> animations;
    for (const XmlNode &child : std::as_const(node.children)) {
        if (!isAnimationElement(child.name)) {
            kept.append(child);
            continue;
        }
        Animation anim;
        if (!parseAnimation(child, anim, error))
            return false;
        animations.append(anim);
        if (durations)
            durations->append(anim.duration);
    }
    node.children = kept;
    if (time >= 0.0) {
        for (const Animation &anim : std::as_const(animations)) {
            QString value = anim.valueAt(time);
            if (anim.isTransform()) {
                value = QStringLiteral("%1(%2)").arg(anim.transformType, value);
                const QString base = node.attribute(anim.attribute);
                if (anim.additive && !base.isEmpty())
                    value = base + QLatin1Char(' ') + value;
            }
            node.setAttribute(anim.attribute, value);
        }
    }
    for (XmlNode &child : node.children) {
        if (!child.name.isEmpty() && !resolveAnimations(child, time, durations, error))
            return false;
    }
    return true;
}

// Literal substitutions, all made in one pass (case-insensitive), so that a colour
// that is written by one pair is not rewritten by the next.
struct ColourMap
{
    QList<QPair<QString, QString>> pairs;

    QByteArray apply(const QByteArray &data) const
    {
        const QString text = QString::fromUtf8(data);
        if (pairs.isEmpty())
            return data;
        QStringList alternatives;
        for (const auto &p : pairs)
            alternatives.append(QRegularExpression::escape(p.first));
        const QRegularExpression pattern(alternatives.join(QLatin1Char('|')),
                                         QRegularExpression::CaseInsensitiveOption);
        QString out;
        qsizetype last = 0;
        auto it = pattern.globalMatch(text);
        while (it.hasNext()) {
            const auto m = it.next();
            out += text.mid(last, m.capturedStart() - last);
            for (const auto &p : pairs) {
                if (m.captured().compare(p.first, Qt::CaseInsensitive) == 0) {
                    out += p.second;
                    break;
                }
            }
            last = m.capturedEnd();
        }
        out += text.mid(last);
        return out.toUtf8();
    }
};

bool parseColourMap(const QStringList &args, ColourMap &map)
{
    for (const QString &arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            qCCritical(lcIconGen).noquote() << "not a from=to substitution:" << arg;
            return false;
        }
        QString from = arg.left(eq), to = arg.mid(eq + 1);
        // Colours may come without their '#', which a shell would take for a comment.
        static const QRegularExpression bareHex(QStringLiteral("^[0-9a-fA-F]{3}([0-9a-fA-F]{3})?$"));
        if (bareHex.match(from).hasMatch() && bareHex.match(to).hasMatch()) {
            from.prepend(QLatin1Char('#'));
            to.prepend(QLatin1Char('#'));
        }
        map.pairs.append({from, to});
    }
    return true;
}

bool parseSize(const QString &text, QSize &size)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)x(\\d+)$"));
    const auto m = pattern.match(text);
    if (!m.hasMatch())
        return false;
    size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    return size.width() > 0 && size.height() > 0 && size.width() <= 4096 && size.height() <= 4096;
}

bool readSource(const QString &path, const ColourMap &map, QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCCritical(lcIconGen).noquote() << "cannot read" << path << ":" << file.errorString();
        return false;
    }
    data = map.apply(file.readAll());
    return true;
}

bool writeOutput(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        qCCritical(lcIconGen).noquote() << "cannot write" << path << ":" << file.errorString();
        return false;
    }
    return true;
}

// Renders a static SVG document into a transparent image of `size`, keeping the
// view box's aspect ratio and centring it.
bool render(const QByteArray &svg, const QSize &size, const QString &source, QImage &image)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        qCCritical(lcIconGen).noquote() << source << "is not a drawable SVG document";
        return false;
    }
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    image = image.convertToFormat(QImage::Format_ARGB32);
    return true;
}

bool loadDocument(const QString &source, const ColourMap &map, XmlNode &root)
{
    QByteArray data;
    if (!readSource(source, map, data))
        return false;
    QString error;
    if (!parseXml(data, root, error)) {
        qCCritical(lcIconGen).noquote() << source << ":" << error;
        return false;
    }
    return true;
}

int makePng(const QString &source, const QString &output, const QSize &size, const ColourMap &map)
{
    XmlNode root;
    if (!loadDocument(source, map, root))
        return kExitFailure;
    QString error;
    if (!resolveAnimations(root, -1.0, nullptr, error)) {
        qCCritical(lcIconGen).noquote() << source << ":" << error;
        return kExitFailure;
    }
    QImage image;
    if (!render(serialize(root), size, source, image))
        return kExitFailure;
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            qCCritical(lcIconGen).noquote() << "cannot encode" << output;
            return kExitFailure;
        }
    }
    return writeOutput(output, png) ? 0 : kExitFailure;
}

// Flattens partial transparency onto the matte colour; GIF knows only on and off.
QImage matteForGif(const QImage &frame)
{
    QImage out(frame.size(), QImage::Format_RGBA8888);
    const int mr = kMatte.red(), mg = kMatte.green(), mb = kMatte.blue();
    for (int y = 0; y < frame.height(); ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(frame.constScanLine(y));
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < frame.width(); ++x) {
            const int a = qAlpha(src[x]);
            uchar *px = dst + 4 * x;
            if (a < kAlphaThreshold) {
                px[0] = px[1] = px[2] = px[3] = 0;
                continue;
            }
            px[0] = uchar((qRed(src[x]) * a + mr * (255 - a) + 127) / 255);
            px[1] = uchar((qGreen(src[x]) * a + mg * (255 - a) + 127) / 255);
            px[2] = uchar((qBlue(src[x]) * a + mb * (255 - a) + 127) / 255);
            px[3] = 255;
        }
    }
    return out;
}

int makeGif(const QString &source, const QString &output, const QSize &size, int frameCount, const ColourMap &map)
{
    XmlNode root;
    if (!loadDocument(source, map, root))
        return kExitFailure;

    QList<double> durations;
    {
        XmlNode probe = root;
        QString error;
        if (!resolveAnimations(probe, 0.0, &durations, error)) {
            qCCritical(lcIconGen).noquote() << source << ":" << error;
            return kExitFailure;
        }
    }
    if (durations.isEmpty()) {
        qCCritical(lcIconGen).noquote() << source << "has no animation to make a GIF of";
        return kExitFailure;
    }
    const double loop = *std::max_element(durations.cbegin(), durations.cend());
    for (double d : std::as_const(durations)) {
        const double repeats = loop / d;
        if (std::abs(repeats - std::round(repeats)) > 1e-6)
            qCWarning(lcIconGen).noquote() << source << ": an animation of" << d << "s does not repeat evenly in the" << loop << "s loop";
    }
    const int delay = qMax(2, int(std::lround(loop * 100.0 / frameCount)));
    if (std::abs(delay * frameCount - loop * 100.0) > 0.5)
        qCWarning(lcIconGen).noquote() << source << ": the" << loop << "s loop does not split into" << frameCount
                                       << "frames of whole centiseconds; using" << delay << "cs";

    QByteArray gif;
    QBuffer buffer(&gif);
    buffer.open(QIODevice::WriteOnly);
    GifWriter writer(&buffer, size, -1);
    for (int i = 0; i < frameCount; ++i) {
        XmlNode doc = root;
        QString error;
        if (!resolveAnimations(doc, loop * i / frameCount, nullptr, error)) {
            qCCritical(lcIconGen).noquote() << source << ":" << error;
            return kExitFailure;
        }
        QImage image;
        if (!render(serialize(doc), size, source, image))
            return kExitFailure;
        writer.addFrame(matteForGif(image), delay * 10);
    }
    if (!writer.finish()) {
        qCCritical(lcIconGen).noquote() << "failed on" << output << ":" << writer.errorString();
        return kExitFailure;
    }
    return writeOutput(output, gif) ? 0 : kExitFailure;
}

int makeSvg(const QString &source, const QString &output, const ColourMap &map)
{
    QByteArray data;
    if (!readSource(source, map, data))
        return kExitFailure;
    if (!QSvgRenderer(data).isValid()) {
        qCCritical(lcIconGen).noquote() << source << "is not a drawable SVG document";
        return kExitFailure;
    }
    return writeOutput(output, data) ? 0 : kExitFailure;
}

// The offscreen platform asks for a runtime directory that a build never needs;
// its notice would only clutter the build log.
QtMessageHandler defaultHandler = nullptr;

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    defaultHandler(type, context, message);
}

void usage()
{
    std::fputs("usage: icongen png <source.svg> <output.png> <width>x<height> [from=to ...]\n"
               "       icongen gif <source.svg> <output.gif> <width>x<height> <frames> [from=to ...]\n"
               "       icongen svg <source.svg> <output.svg> [from=to ...]\n",
               stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(messageHandler);
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        usage();
        return kExitUsage;
    }
    const QString mode = args[0];
    const QString source = args[1];
    const QString output = args[2];
    ColourMap map;

    if (mode == QLatin1String("svg")) {
        if (!parseColourMap(args.mid(3), map))
            return kExitUsage;
        return makeSvg(source, output, map);
    }

    QSize size;
    if (args.size() < 4 || !parseSize(args[3], size)) {
        usage();
        return kExitUsage;
    }
    if (mode == QLatin1String("png")) {
        if (!parseColourMap(args.mid(4), map))
            return kExitUsage;
        return makePng(source, output, size, map);
    }
    if (mode == QLatin1String("gif")) {
        bool ok = false;
        const int frames = args.size() > 4 ? args[4].toInt(&ok) : 0;
        if (!ok || frames < 2 || frames > 200) {
            usage();
            return kExitUsage;
        }
        if (!parseColourMap(args.mid(5), map))
            return kExitUsage;
        return makeGif(source, output, size, frames, map);
    }
    usage();
    return kExitUsage;
}
