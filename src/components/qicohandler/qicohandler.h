#pragma once

#include <QImage>
#include <QImageIOHandler>
#include <QList>
#include <QtGlobal>

class QIODevice;

// On-disk records of an ICO file; all fields are little-endian in the file.
struct ICONDIR {
    quint16 idReserved = 0;
    quint16 idType = 0;
    quint16 idCount = 0;
};

struct ICONDIRENTRY {
    quint8 bWidth = 0;
    quint8 bHeight = 0;
    quint8 bColorCount = 0;
    quint8 bReserved = 0;
    quint16 wPlanes = 0;
    quint16 wBitCount = 0;
    quint32 dwBytesInRes = 0;
    quint32 dwImageOffset = 0;
};

struct BMP_INFOHDR {
    quint32 biSize = 0;
    qint32 biWidth = 0;
    qint32 biHeight = 0;
    quint16 biPlanes = 0;
    quint16 biBitCount = 0;
    quint32 biCompression = 0;
    quint32 biSizeImage = 0;
    qint32 biXPelsPerMeter = 0;
    qint32 biYPelsPerMeter = 0;
    quint32 biClrUsed = 0;
    quint32 biClrImportant = 0;
};

// Reads the icons of an ICO file from a random-access device, and writes a
// list of images as one ICO file (32-bit entries with an AND mask).
class ICOReader {
public:
    explicit ICOReader(QIODevice* device);

    static bool canRead(QIODevice* device);
    static QList<QImage> read(QIODevice* device);
    // All images in one file, in list order; images larger than 256 px are
    // scaled down to fit. False when nothing or not everything was written.
    static bool write(QIODevice* device, const QList<QImage>& images);

    bool readHeader();
    int count();
    bool readIconEntry(int index, ICONDIRENTRY* entry);
    bool readBMPHeader(ICONDIRENTRY& entry, BMP_INFOHDR* header);
    void findColorInfo(QImage& image);
    void readColorTable(QImage& image);
    void readBMP(QImage& image);
    void read1BitBMP(QImage& image);
    void read4BitBMP(QImage& image);
    void read8BitBMP(QImage& image);
    void read16_24_32BMP(QImage& image);
    QImage iconAt(int index);

private:
    struct IcoAttrib {
        int bitCount = 0;
        int colorCount = 0;
        int height = 0;
        int width = 0;
    };

    bool entryFitsDevice() const;

    IcoAttrib imageAttributes;
    QIODevice* device;
    qint64 startPosition = 0;
    bool headerAccepted = false;
    ICONDIR header;
};

// Image handler for the "ico" format. Not registered as a plug-in: callers
// make one on an open device.
class QtIcoHandler : public QImageIOHandler {
public:
    explicit QtIcoHandler(QIODevice* device);
    ~QtIcoHandler() override;
    QtIcoHandler(const QtIcoHandler&) = delete;
    QtIcoHandler& operator=(const QtIcoHandler&) = delete;

    // Deprecated in the base since 5.13, still called by older code.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QByteArray name() const override;
    QT_WARNING_POP

    bool canRead() const override;
    bool read(QImage* image) override;
    bool write(const QImage& image) override;
    bool jumpToNextImage() override;
    bool jumpToImage(int index) override;
    int imageCount() const override;

    bool write(const QList<QImage>& images);
    static bool canRead(QIODevice* device);

private:
    int currentIndex = 0;
    ICOReader* reader;
};
