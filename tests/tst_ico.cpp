#include "testsupport.h"

#include "qicohandler/qicohandler.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtEndian>

namespace {

quint16 u16(const QByteArray& data, int offset)
{
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(data.constData()) + offset);
}

quint32 u32(const QByteArray& data, int offset)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(data.constData()) + offset);
}

quint8 u8(const QByteArray& data, int offset) { return quint8(data.at(offset)); }

void setU32(QByteArray& data, int offset, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        data[offset + i] = char((v >> (8 * i)) & 0xff);
}

void put16(QByteArray& out, quint16 v)
{
    uchar b[2];
    qToLittleEndian(v, b);
    out.append(reinterpret_cast<const char*>(b), 2);
}

void put32(QByteArray& out, quint32 v)
{
    uchar b[4];
    qToLittleEndian(v, b);
    out.append(reinterpret_cast<const char*>(b), 4);
}

QByteArray writeIco(const QList<QImage>& images, bool* ok = nullptr)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QtIcoHandler handler(&buffer);
    const bool written = handler.write(images);
    if (ok)
        *ok = written;
    return bytes;
}

QList<QImage> readIco(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ICOReader::read(&buffer);
}

QImage filled(int w, int h, QRgb color, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(w, h, format);
    image.fill(color);
    return image;
}

// A BMP entry as found in an ICO file: header, colour table, rows, mask.
QByteArray bmpEntry(int bitCount, qint32 w, qint32 h, quint32 clrUsed, const QList<QRgb>& palette,
                    const QByteArray& rows, const QByteArray& mask)
{
    QByteArray b;
    put32(b, 40);
    put32(b, quint32(w));
    put32(b, quint32(2 * h));
    put16(b, 1);
    put16(b, quint16(bitCount));
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, clrUsed);
    put32(b, 0);
    for (QRgb c : palette) {
        b.append(char(qBlue(c)));
        b.append(char(qGreen(c)));
        b.append(char(qRed(c)));
        b.append('\0');
    }
    return b + rows + mask;
}

// An ICO file around the given BMP entries.
QByteArray icoFile(const QList<QByteArray>& entries, quint16 type = 1, quint16 reserved = 0)
{
    QByteArray out;
    put16(out, reserved);
    put16(out, type);
    put16(out, quint16(entries.size()));
    quint32 offset = quint32(6 + 16 * entries.size());
    for (const QByteArray& e : entries) {
        out.append(4, '\0');
        put16(out, 1);
        put16(out, 0);
        put32(out, quint32(e.size()));
        put32(out, offset);
        offset += quint32(e.size());
    }
    for (const QByteArray& e : entries)
        out += e;
    return out;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// A 3 x 2 mask (4-byte rows, bottom row first) with only pixel (1, 0) transparent.
const QByteArray mask3x2 = bytes({0, 0, 0, 0, 0x40, 0, 0, 0});

class SequentialDevice : public QIODevice {
public:
    explicit SequentialDevice(const QByteArray& data) : data(data) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return data.size() - at + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* out, qint64 max) override
    {
        const qint64 n = qMin<qint64>(max, data.size() - at);
        memcpy(out, data.constData() + at, size_t(n));
        at += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray data;
    qint64 at = 0;
};

// Accepts only `limit` bytes, like a full disk.
class LimitedDevice : public QIODevice {
public:
    explicit LimitedDevice(int limit) : limit(limit) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* in, qint64 len) override
    {
        const qint64 n = qMin<qint64>(len, limit - written.size());
        if (n <= 0)
            return -1;
        written.append(in, int(n));
        return n;
    }

private:
    int limit;
};

} // namespace

class TestIco : public QObject {
    Q_OBJECT

private slots:
    void writtenLayout();
    void writtenPixelsAndMask();
    void entrySizesAndScaling_data();
    void entrySizesAndScaling();
    void listOrderKept();
    void writerRefusals();
    void manyImages();
    void shortWrites();
    void writeAtPositionRoundTrips();
    void roundTrip32Bit();
    void readIndexedAndRgbEntries();
    void unsupportedEntries();
    void probe();
    void probeLeavesSequentialDeviceIntact();
    void handler();
    void malformedFiles();
    void truncatedAndCorruptedFiles();
};

void TestIco::writtenLayout()
{
    bool ok = false;
    const QByteArray ico = writeIco({filled(16, 16, qRgba(1, 2, 3, 255)), filled(32, 32, qRgba(1, 2, 3, 255))}, &ok);
    QVERIFY(ok);
    QCOMPARE(ico.size(), 5430);
    QCOMPARE(u16(ico, 0), quint16(0));
    QCOMPARE(u16(ico, 2), quint16(1));
    QCOMPARE(u16(ico, 4), quint16(2));

    const int sizes[] = {16, 32};
    const quint32 bytesInRes[] = {1128, 4264};
    const quint32 offsets[] = {38, 1166};
    for (int i = 0; i < 2; ++i) {
        const int e = 6 + 16 * i;
        QCOMPARE(int(u8(ico, e)), sizes[i]);
        QCOMPARE(int(u8(ico, e + 1)), sizes[i]);
        QCOMPARE(int(u8(ico, e + 2)), 0);
        QCOMPARE(int(u8(ico, e + 3)), 0);
        QCOMPARE(u16(ico, e + 4), quint16(1));
        QCOMPARE(u16(ico, e + 6), quint16(32));
        QCOMPARE(u32(ico, e + 8), bytesInRes[i]);
        QCOMPARE(u32(ico, e + 12), offsets[i]);

        const int h = int(offsets[i]);
        QCOMPARE(u32(ico, h), quint32(40));
        QCOMPARE(u32(ico, h + 4), quint32(sizes[i]));
        QCOMPARE(u32(ico, h + 8), quint32(2 * sizes[i]));
        QCOMPARE(u16(ico, h + 12), quint16(1));
        QCOMPARE(u16(ico, h + 14), quint16(32));
        QCOMPARE(u32(ico, h + 16), quint32(0));
        QCOMPARE(u32(ico, h + 20), bytesInRes[i] - 40);
        for (int f = 24; f < 40; f += 4)
            QCOMPARE(u32(ico, h + f), quint32(0));
    }
}

void TestIco::writtenPixelsAndMask()
{
    // 24 px wide: mask rows of 3 bytes of bits plus one byte of padding.
    QImage image = filled(24, 24, qRgba(10, 20, 30, 255));
    image.setPixel(0, 0, qRgba(200, 100, 50, 128)); // straight alpha kept
    image.setPixel(1, 0, qRgba(7, 8, 9, 0));        // transparent, colour kept
    image.setPixel(2, 0, qRgba(7, 8, 9, 1));        // alpha 1 counts as opaque
    image.setPixel(23, 23, qRgba(0, 0, 0, 0));
    const QByteArray ico = writeIco({image});
    const int data = 6 + 16 + 40;
    const int maskStart = data + 4 * 24 * 24;
    QCOMPARE(ico.size(), maskStart + 24 * 4);

    // Colour rows bottom-up: row 23 first, row 0 last.
    QCOMPARE(ico.mid(data, 4), bytes({30, 20, 10, 255}));
    QCOMPARE(ico.mid(data + 23 * 4, 4), bytes({0, 0, 0, 0}));
    const int top = data + 23 * 24 * 4;
    QCOMPARE(ico.mid(top, 12), bytes({50, 100, 200, 128, 9, 8, 7, 0, 9, 8, 7, 1}));

    // Mask rows bottom-up, most significant bit leftmost, padding zero.
    QCOMPARE(ico.mid(maskStart, 4), bytes({0, 0, 0x01, 0}));
    for (int row = 1; row < 23; ++row)
        QCOMPARE(ico.mid(maskStart + 4 * row, 4), bytes({0, 0, 0, 0}));
    QCOMPARE(ico.mid(maskStart + 4 * 23, 4), bytes({0x40, 0, 0, 0}));

    // Without an alpha channel: alpha 255 everywhere and an empty mask.
    const QByteArray opaque = writeIco({filled(5, 3, qRgb(1, 2, 3), QImage::Format_RGB32)});
    for (int p = 0; p < 15; ++p)
        QCOMPARE(opaque.mid(data + 4 * p, 4), bytes({3, 2, 1, 255}));
    QCOMPARE(opaque.mid(data + 60), QByteArray(12, '\0'));
}

void TestIco::entrySizesAndScaling_data()
{
    QTest::addColumn<QSize>("input");
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<quint32>("bytesInRes");
    QTest::newRow("16") << QSize(16, 16) << QSize(16, 16) << quint32(1128);
    QTest::newRow("32") << QSize(32, 32) << QSize(32, 32) << quint32(4264);
    QTest::newRow("48") << QSize(48, 48) << QSize(48, 48) << quint32(9640);
    QTest::newRow("256") << QSize(256, 256) << QSize(256, 256) << quint32(270376);
    QTest::newRow("512") << QSize(512, 512) << QSize(256, 256) << quint32(270376);
    QTest::newRow("300x150") << QSize(300, 150) << QSize(256, 128) << quint32(40 + 4 * 256 * 128 + 128 * 32);
    QTest::newRow("100x40") << QSize(100, 40) << QSize(100, 40) << quint32(40 + 4 * 100 * 40 + 40 * 16);
    QTest::newRow("1000x2 keeps a row") << QSize(1000, 2) << QSize(256, 1) << quint32(40 + 4 * 256 + 32);
}

void TestIco::entrySizesAndScaling()
{
    QFETCH(QSize, input);
    QFETCH(QSize, stored);
    QFETCH(quint32, bytesInRes);
    bool ok = false;
    const QByteArray ico = writeIco({filled(input.width(), input.height(), qRgba(0, 128, 255, 255))}, &ok);
    QVERIFY(ok);
    QCOMPARE(int(u8(ico, 6)), stored.width() % 256);
    QCOMPARE(int(u8(ico, 7)), stored.height() % 256);
    QCOMPARE(u32(ico, 14), bytesInRes);
    QCOMPARE(u32(ico, 22 + 4), quint32(stored.width()));
    QCOMPARE(u32(ico, 22 + 8), quint32(2 * stored.height()));
    QCOMPARE(ico.size(), int(22 + bytesInRes));

    const QList<QImage> back = readIco(ico);
    QCOMPARE(back.size(), 1);
    QCOMPARE(back.first().size(), stored);
    QCOMPARE(back.first().pixel(stored.width() / 2, stored.height() / 2), qRgba(0, 128, 255, 255));
}

void TestIco::listOrderKept()
{
    const QByteArray ico = writeIco({filled(32, 32, 0xff000000), filled(16, 16, 0xff000000), filled(32, 32, 0xff000000)});
    QCOMPARE(u16(ico, 4), quint16(3));
    QCOMPARE(int(u8(ico, 6)), 32);
    QCOMPARE(int(u8(ico, 22)), 16);
    QCOMPARE(int(u8(ico, 38)), 32);
    QCOMPARE(u32(ico, 6 + 12), quint32(54));
    QCOMPARE(u32(ico, 22 + 12), quint32(54 + 4264));
    QCOMPARE(u32(ico, 38 + 12), quint32(54 + 4264 + 1128));
}

void TestIco::writerRefusals()
{
    bool ok = true;
    QVERIFY(writeIco({}, &ok).isEmpty());
    QVERIFY(!ok);
    QVERIFY(writeIco({filled(16, 16, 0xff000000), QImage()}, &ok).isEmpty());
    QVERIFY(!ok);
    QVERIFY(!ICOReader::write(nullptr, {filled(16, 16, 0xff000000)}));

    QByteArray data;
    QBuffer closed(&data);
    QVERIFY(!QtIcoHandler(&closed).write(filled(16, 16, 0xff000000)));
    QVERIFY(data.isEmpty());

    // One past what idCount can hold: refused rather than wrapped to 0.
    QList<QImage> tooMany;
    const QImage pixel = filled(1, 1, 0xff000000);
    for (int i = 0; i < 65536; ++i)
        tooMany.append(pixel);
    QVERIFY(writeIco(tooMany, &ok).isEmpty());
    QVERIFY(!ok);
}

void TestIco::manyImages()
{
    QList<QImage> images;
    const QImage pixel = filled(1, 1, qRgba(1, 2, 3, 255));
    for (int i = 0; i < 65535; ++i)
        images.append(pixel);
    bool ok = false;
    const QByteArray ico = writeIco(images, &ok);
    QVERIFY(ok);
    QCOMPARE(u16(ico, 4), quint16(65535));
    QCOMPARE(ico.size(), 6 + 65535 * (16 + 48));
    QCOMPARE(u32(ico, 6 + 16 * 65534 + 12), quint32(6 + 16 * 65535 + 48 * 65534));
}

void TestIco::shortWrites()
{
    const QList<QImage> images = {filled(16, 16, 0xff000000), filled(32, 32, 0xff000000)};
    const int full = 5430;
    for (int limit : {0, 3, 6, 20, 38, 60, 1166, 2000, full - 1}) {
        LimitedDevice device(limit);
        QVERIFY2(!ICOReader::write(&device, images), qPrintable(QString::number(limit)));
        QCOMPARE(device.written.size(), limit); // what was written stays
    }
    LimitedDevice device(full);
    QVERIFY(ICOReader::write(&device, images));
    QCOMPARE(device.written, writeIco(images));
}

void TestIco::writeAtPositionRoundTrips()
{
    // A file written after other data keeps offsets from its own header.
    const QImage image = filled(16, 16, qRgba(9, 99, 199, 255));
    QByteArray data(100, 'x');
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadWrite);
    buffer.seek(100);
    QVERIFY(ICOReader::write(&buffer, {image}));
    QCOMPARE(data.mid(100), writeIco({image}));
    buffer.seek(100);
    QtIcoHandler handler(&buffer);
    QImage back;
    QVERIFY(handler.read(&back));
    QCOMPARE(back.pixel(3, 3), qRgba(9, 99, 199, 255));
}

void TestIco::roundTrip32Bit()
{
    QImage a(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            a.setPixel(x, y, qRgba(x * 16, y * 16, 255 - x, (x + y * 16) % 256));
    const QImage b = filled(48, 20, qRgba(40, 50, 60, 255), QImage::Format_RGB32);
    const QList<QImage> back = readIco(writeIco({a, b}));
    QCOMPARE(back.size(), 2);
    QCOMPARE(back[0].format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(back[0], a.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    QCOMPARE(back[0].pixel(0, 0), 0u);
    QCOMPARE(back[1], b.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TestIco::readIndexedAndRgbEntries()
{
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), green = qRgb(0, 255, 0);
    // Rows bottom-up: the file's first row is image row 1.
    // 1 bit: row 1 = 1,0,1; row 0 = 0,1,1.
    const QByteArray e1 = bmpEntry(1, 3, 2, 0, {red, blue}, bytes({0xa0, 0, 0, 0, 0x60, 0, 0, 0}), mask3x2);
    // 4 bits, 16-colour table: pixel 2 is the high nibble of the second byte.
    QList<QRgb> palette16;
    for (int i = 0; i < 16; ++i)
        palette16.append(qRgb(i * 16, 0, 0));
    const QByteArray e4 = bmpEntry(4, 3, 2, 0, palette16, bytes({0x12, 0x3f, 0, 0, 0x45, 0x6f, 0, 0}), mask3x2);
    // 8 bits, 256-colour table.
    QList<QRgb> palette256;
    for (int i = 0; i < 256; ++i)
        palette256.append(qRgb(0, i, 0));
    const QByteArray e8 = bmpEntry(8, 3, 2, 0, palette256, bytes({1, 2, 3, 0, 200, 201, 202, 0}), mask3x2);
    // 8 bits with a three-colour table (biClrUsed 3).
    const QByteArray e8s = bmpEntry(8, 3, 2, 3, {red, green, blue}, bytes({0, 1, 2, 0, 2, 1, 0, 0}), mask3x2);
    // 24 bits: rows of 9 bytes padded to 12.
    const QByteArray e24 = bmpEntry(24, 3, 2, 0, {},
                                    bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0}), mask3x2);
    // 4 bits with a two-colour table decodes as indexed, not as a 1-bit image.
    const QByteArray e4two = bmpEntry(4, 3, 2, 2, {red, blue}, bytes({0x01, 0x00, 0, 0, 0x10, 0x10, 0, 0}), mask3x2);

    const QList<QImage> images = readIco(icoFile({e1, e4, e8, e8s, e24, e4two}));
    QCOMPARE(images.size(), 6);
    for (const QImage& image : images) {
        QCOMPARE(image.size(), QSize(3, 2));
        QCOMPARE(image.pixel(1, 0), 0u); // masked out
    }
    auto row = [](const QImage& image, int y) {
        return QList<QRgb>{image.pixel(0, y), image.pixel(1, y), image.pixel(2, y)};
    };
    QCOMPARE(row(images[0], 1), (QList<QRgb>{blue, red, blue}));
    QCOMPARE(images[0].pixel(0, 0), red);
    QCOMPARE(images[0].pixel(2, 0), blue);
    QCOMPARE(row(images[1], 1), (QList<QRgb>{qRgb(16, 0, 0), qRgb(32, 0, 0), qRgb(48, 0, 0)}));
    QCOMPARE(images[1].pixel(2, 0), qRgb(96, 0, 0));
    QCOMPARE(row(images[2], 1), (QList<QRgb>{qRgb(0, 1, 0), qRgb(0, 2, 0), qRgb(0, 3, 0)}));
    QCOMPARE(images[2].pixel(2, 0), qRgb(0, 202, 0));
    QCOMPARE(row(images[3], 1), (QList<QRgb>{red, green, blue}));
    QCOMPARE(images[3].pixel(0, 0), blue);
    QCOMPARE(row(images[4], 1), (QList<QRgb>{qRgb(3, 2, 1), qRgb(6, 5, 4), qRgb(9, 8, 7)}));
    QCOMPARE(images[4].pixel(0, 0), qRgb(7, 8, 9));
    QCOMPARE(row(images[5], 1), (QList<QRgb>{red, blue, red}));
    QCOMPARE(images[5].pixel(2, 0), blue);
}

void TestIco::unsupportedEntries()
{
    const QByteArray mask = bytes({0, 0, 0, 0, 0, 0, 0, 0});
    const QList<QImage> images = readIco(icoFile({
        bmpEntry(16, 3, 2, 0, {}, QByteArray(16, '\1'), mask),          // 16 bits
        bmpEntry(7, 3, 2, 0, {}, QByteArray(64, '\1'), mask),           // no such bit count
        bmpEntry(1, 3, 2, 3, {0, 0, 0}, QByteArray(8, '\0'), mask),     // 1 bit, three colours
        bmpEntry(8, 3, 2, 300, {}, QByteArray(1300, '\0'), mask),       // table beyond 256
        bmpEntry(8, 3, 2, 0xffffffffu, {}, QByteArray(64, '\0'), mask), // absurd table
    }));
    QCOMPARE(images.size(), 5);
    for (const QImage& image : images)
        QVERIFY(image.isNull());
}

void TestIco::probe()
{
    const QByteArray good = writeIco({filled(16, 16, 0xff000000)});
    auto probeBytes = [](const QByteArray& data) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        buffer.seek(0);
        const bool result = ICOReader::canRead(&buffer);
        return result && buffer.pos() == 0;
    };
    QVERIFY(probeBytes(good));
    QVERIFY(!probeBytes(good.left(21)));
    QVERIFY(!ICOReader::canRead(nullptr));

    QByteArray bad = good;
    bad[12] = 33; // wBitCount
    QVERIFY(!probeBytes(bad));
    bad = good;
    bad[10] = 2; // wPlanes
    QVERIFY(!probeBytes(bad));
    bad = good;
    setU32(bad, 14, 39);
    QVERIFY(!probeBytes(bad));
    bad = good;
    bad[9] = 1; // bReserved
    QVERIFY(!probeBytes(bad));

    // A cursor and a header with idReserved 1: the probe refuses both, the
    // lenient header check still reads them.
    for (int field : {0, 2}) {
        QByteArray other = good;
        other[field] = char(field == 0 ? 1 : 2);
        QVERIFY(!probeBytes(other));
        QBuffer buffer(&other);
        buffer.open(QIODevice::ReadOnly);
        ICOReader reader(&buffer);
        QVERIFY(reader.readHeader());
        QCOMPARE(reader.count(), 1);
        QCOMPARE(reader.iconAt(0).size(), QSize(16, 16));
    }
}

void TestIco::probeLeavesSequentialDeviceIntact()
{
    const QByteArray good = writeIco({filled(16, 16, 0xff000000)});
    SequentialDevice device(good);
    QVERIFY(ICOReader::canRead(&device));
    QCOMPARE(device.read(22), good.left(22));

    // Too short to judge: false, and still nothing consumed.
    SequentialDevice shortDevice(good.left(10));
    QVERIFY(!ICOReader::canRead(&shortDevice));
    QCOMPARE(shortDevice.readAll(), good.left(10));

    // Reading needs seeks: entries from a sequential device come out null.
    SequentialDevice seq(good);
    const QList<QImage> images = ICOReader::read(&seq);
    QCOMPARE(images.size(), 1);
    QVERIFY(images.first().isNull());
}

void TestIco::handler()
{
    QByteArray ico = writeIco({filled(16, 16, qRgb(1, 1, 1)), filled(32, 32, qRgb(2, 2, 2))});
    QBuffer buffer(&ico);
    buffer.open(QIODevice::ReadOnly);
    QtIcoHandler handler(&buffer);
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QCOMPARE(handler.name(), QByteArray("ico"));
    QT_WARNING_POP
    QVERIFY(handler.canRead());
    QCOMPARE(handler.format(), QByteArray("ico"));
    QCOMPARE(handler.imageCount(), 2);

    QImage image;
    QVERIFY(handler.read(&image));
    QCOMPARE(image.size(), QSize(16, 16));
    QVERIFY(handler.read(&image)); // does not advance
    QCOMPARE(image.size(), QSize(16, 16));
    QVERIFY(handler.jumpToNextImage());
    QVERIFY(handler.read(&image));
    QCOMPARE(image.pixel(0, 0), qRgb(2, 2, 2));
    QVERIFY(!handler.jumpToNextImage());
    QVERIFY(!handler.jumpToImage(-1));
    QVERIFY(handler.jumpToImage(0));

    // A failed read leaves the caller's image alone.
    QByteArray broken = ico.left(100);
    QBuffer brokenBuffer(&broken);
    brokenBuffer.open(QIODevice::ReadOnly);
    QtIcoHandler brokenHandler(&brokenBuffer);
    QImage kept = filled(2, 2, qRgb(5, 5, 5));
    QVERIFY(!brokenHandler.read(&kept));
    QCOMPARE(kept.size(), QSize(2, 2));

    QtIcoHandler noDevice(nullptr);
    QTest::ignoreMessage(QtWarningMsg, "QtIcoHandler::canRead() called with no device");
    QVERIFY(!noDevice.canRead());
    QCOMPARE(noDevice.imageCount(), 0);
    QVERIFY(!noDevice.read(&kept));

    QByteArray single;
    QBuffer out(&single);
    out.open(QIODevice::WriteOnly);
    QVERIFY(QtIcoHandler(&out).write(filled(8, 8, qRgb(3, 3, 3))));
    QCOMPARE(single, writeIco({filled(8, 8, qRgb(3, 3, 3))}));
}

void TestIco::malformedFiles()
{
    const QByteArray good = writeIco({filled(4, 4, qRgb(1, 2, 3))});
    auto readOne = [](const QByteArray& data, int index = 0) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        return ICOReader(&buffer).iconAt(index);
    };
    QVERIFY(!readOne(good).isNull());
    QVERIFY(readOne(good, 1).isNull());
    QVERIFY(readOne(good, -1).isNull());

    QByteArray zero = good;
    zero[4] = 0;
    QVERIFY(readIco(zero).isEmpty());

    // Offset past the end, or so large it wraps nothing.
    for (quint32 offset : {quint32(good.size()), quint32(good.size() - 39), 0xffffffffu}) {
        QByteArray bad = good;
        setU32(bad, 18, offset);
        QVERIFY(readOne(bad).isNull());
    }

    // Made-up dimensions are refused quickly, without allocating them.
    QElapsedTimer timer;
    timer.start();
    const QList<QPair<qint32, qint32>> sizes = {{0x7fffffff, 0x7ffffffe}, {0x10000, 0x10000}, {5, 0x7ffffffe},
                                               {-4, 8}, {4, -8}, {0, 8}, {4, 0}, {4, 1}, {5, 8}};
    for (const auto& size : sizes) {
        QByteArray bad = good;
        setU32(bad, 22 + 4, quint32(size.first));
        setU32(bad, 22 + 8, quint32(size.second));
        QVERIFY2(readOne(bad).isNull(), qPrintable(QString("%1x%2").arg(size.first).arg(size.second)));
    }
    // A smaller size whose rows fit in the data is still read.
    QByteArray smaller = good;
    smaller[22 + 4] = 2;
    QCOMPARE(readOne(smaller).size(), QSize(2, 4));
    QVERIFY(timer.elapsed() < 2000);

    // A huge count with one real entry: the rest come out null.
    QByteArray many = good;
    many[4] = char(0xff);
    many[5] = char(0xff);
    const QList<QImage> images = readIco(many);
    QCOMPARE(images.size(), 65535);
    QVERIFY(!images.first().isNull());
    int nonNull = 0;
    for (const QImage& image : images)
        nonNull += image.isNull() ? 0 : 1;
    QVERIFY(nonNull < 10);

    // Colour rows complete, mask cut short.
    QVERIFY(readOne(good.left(good.size() - 1)).isNull());
    QVERIFY(readOne(good.left(22 + 40 + 64)).isNull());
}

void TestIco::truncatedAndCorruptedFiles()
{
    QImage image(5, 3, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 200));
    image.setPixel(4, 2, 0);
    const QByteArray good = writeIco({image, filled(2, 2, qRgb(1, 1, 1))});
    const QList<QImage> full = readIco(good);
    QCOMPARE(full.size(), 2);

    // Every prefix: each entry is either whole or null.
    for (int length = 0; length < good.size(); ++length) {
        const QList<QImage> part = readIco(good.left(length));
        for (int i = 0; i < part.size(); ++i)
            QVERIFY(part[i].isNull() || part[i] == full[i]);
    }

    // Random damage to header and directory bytes must never crash.
    QRandomGenerator random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bad = good;
        const int hits = 1 + int(random.bounded(4));
        for (int h = 0; h < hits; ++h)
            bad[int(random.bounded(22 + 40 + 16))] = char(random.bounded(256));
        QBuffer buffer(&bad);
        buffer.open(QIODevice::ReadOnly);
        ICOReader::canRead(&buffer);
        const QList<QImage> images = ICOReader::read(&buffer);
        for (const QImage& decoded : images)
            QVERIFY(decoded.isNull() || decoded.width() * qint64(decoded.height()) <= 8 * bad.size());
    }
}

PICTAVO_TEST_MAIN(TestIco)
#include "tst_ico.moc"
