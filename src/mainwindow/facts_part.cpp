#include "mainwindow/facts_part.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>

#include "exec/app_state.h"
#include "exec/time_left_text.h"
#include "mainwindow/texts.h"
#include "recipes/size_estimate.h"

namespace transcoda::gui {

namespace {

constexpr int kLeft = 138;
constexpr int kStillHeight = 36;
constexpr int kStillRight = 753;
constexpr int kGap = 6;

QLocale Numbers() { return App().English() ? QLocale(QLocale::English) : QLocale(QLocale::French); }

// "850 Ko", "37,3 Mo", "1,25 Go" (decimal units, as file managers count them).
QString SizeText(double bytes) {
    const char* units[][2] = {{"o", "B"}, {"Ko", "KB"}, {"Mo", "MB"}, {"Go", "GB"}, {"To", "TB"}};
    int unit = 0;
    while (bytes >= 1000 && unit < 4) {
        bytes /= 1000;
        ++unit;
    }
    const int decimals = unit == 0 || bytes >= 100 ? 0 : bytes >= 10 ? 1 : 2;
    return Numbers().toString(bytes, 'f', decimals) + " " + QString::fromUtf8(units[unit][App().English() ? 1 : 0]);
}

// "25", "29,97", "44,1": at most two decimals, none written when they are zeros.
QString Plain(double value) {
    QString text = Numbers().toString(value, 'f', 2);
    const QChar point = Numbers().decimalPoint().at(0);
    if (text.contains(point)) {
        while (text.endsWith('0')) text.chop(1);
        if (text.endsWith(point)) text.chop(1);
    }
    return text;
}

QString CodecName(const std::string& codec) {
    static const std::pair<const char*, const char*> kNames[] = {
        {"h264", "H.264"}, {"hevc", "H.265"},        {"mpeg4", "MPEG-4"}, {"mpeg2video", "MPEG-2"},
        {"mpeg1video", "MPEG-1"}, {"mp3", "MP3"},    {"mp2", "MP2"},      {"flv1", "FLV"},
        {"wmav2", "WMA"}, {"amr_nb", "AMR"},         {"vorbis", "Vorbis"}, {"opus", "Opus"},
    };
    for (const auto& [name, shown] : kNames)
        if (codec == name) return shown;
    if (codec.starts_with("pcm_")) return "PCM";
    return QString::fromStdString(codec).toUpper();
}

QString ChannelsText(int channels) {
    if (channels == 1) return Lang("mono", "mono");
    if (channels == 2) return Lang("stéréo", "stereo");
    return Lang("%1 canaux", "%1 channels").arg(channels);
}

QString FactsLine(const InputFacts& facts) {
    const MediaInfo& m = facts.Media;
    if (!facts.Described) return SizeText(static_cast<double>(facts.FileBytes));
    if (!m.readable) return Lang("Les outils ne savent pas lire ce fichier (%1)", "The tools cannot read this file (%1)")
                                .arg(SizeText(static_cast<double>(facts.FileBytes)));
    QStringList parts;
    if (facts.Seconds >= 0)
        parts << QString::fromStdString(ElapsedWords(static_cast<int64_t>(facts.Seconds * 1000 + 0.5)));
    if (m.hasVideo)
        parts << Lang("%1 %2 × %3 à %4 im/s", "%1 %2 × %3 at %4 fps")
                     .arg(CodecName(m.videoCodec))
                     .arg(m.width)
                     .arg(m.height)
                     .arg(Plain(m.fps));
    else
        parts << Lang("pas d'image", "no picture");
    if (m.hasAudio)
        parts << Lang("son %1 %2 kHz %3", "sound %1 %2 kHz %3")
                     .arg(CodecName(m.audioCodec), Plain(m.sampleRate / 1000.0), ChannelsText(m.channels));
    else
        parts << Lang("pas de son", "no sound");
    parts << SizeText(static_cast<double>(facts.FileBytes));
    return parts.join(QString::fromUtf8("  ·  "));
}

}  // namespace

struct FactsPart::Reading {
    ConversionSession session;
    std::atomic<bool> ended{false};
};

FactsPart::FactsPart(QWidget* panel, QLineEdit* input, QComboBox* presets, int top)
    : QObject(panel), input_(input), presets_(presets) {
    const int stillLeft = kStillRight - kStillWidth;
    factsLabel = new QLabel(panel);
    factsLabel->setObjectName("factsLabel");
    factsLabel->setGeometry(kLeft, top, stillLeft - kGap - kLeft, kHeight - 4);
    factsLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    factsLabel->setTextFormat(Qt::PlainText);
    stillPicture = new QLabel(panel);
    stillPicture->setObjectName("stillPicture");
    stillPicture->setGeometry(stillLeft, top, kStillWidth, kStillHeight);
    stillPicture->setAlignment(Qt::AlignCenter);
    connect(input_, &QLineEdit::textChanged, this, &FactsPart::Read);
    connect(presets_, &QComboBox::currentIndexChanged, this, &FactsPart::Render);
}

FactsPart::~FactsPart() {
    if (current_) current_->session.Stop();
    JoinEnded(true);
}

void FactsPart::Read(const QString& path) {
    ++generation_;
    if (current_) current_->session.Stop();
    current_.reset();
    JoinEnded(false);
    shown_ = InputFacts{};
    shownPath_.clear();
    reading_ = !path.isEmpty();
    Render();
    if (path.isEmpty()) return;
    auto reading = std::make_shared<Reading>();
    current_ = reading;
    const unsigned long long generation = generation_;
    // Twice as wide as shown, for screens at scale 2.
    const int stillWidth = kStillWidth * 2;
    std::thread thread([this, reading, generation, path, stillWidth] {
        const std::string file = path.toStdString();
        InputFacts facts = ReadInputFacts(reading->session, file);
        // A conversion that starts or stops ends this instance's tools, the probe too:
        // it is asked once more.
        if (!facts.Described && facts.FileBytes >= 0 && reading->session.Running())
            facts = ReadInputFacts(reading->session, file);
        if (reading->session.Running() && facts.Media.hasVideo) {
            // The words first, the still when it has been taken.
            QMetaObject::invokeMethod(this, [this, generation, path, facts] { Arrive(generation, path, facts); },
                                      Qt::QueuedConnection);
            TakeStill(reading->session, file, facts, stillWidth);
        }
        if (reading->session.Running())
            QMetaObject::invokeMethod(
                this, [this, generation, path, facts] {
                    Arrive(generation, path, facts);
                    if (generation == generation_) emit Arrived(path);
                },
                Qt::QueuedConnection);
        reading->ended = true;
    });
    threads_.emplace_back(std::move(reading), std::move(thread));
}

void FactsPart::JoinEnded(bool all) {
    for (auto it = threads_.begin(); it != threads_.end();) {
        if (all || it->first->ended) {
            it->second.join();
            it = threads_.erase(it);
        } else {
            ++it;
        }
    }
}

void FactsPart::Arrive(unsigned long long generation, const QString& path, const InputFacts& facts) {
    // The facts of an input that is no longer the field's are dropped.
    if (generation != generation_) return;
    reading_ = false;
    shown_ = facts;
    shownPath_ = path;
    Render();
}

void FactsPart::ApplyLanguage() { Render(); }

void FactsPart::Render() {
    QString text;
    if (reading_) {
        text = Lang("Lecture du fichier…", "Reading the file…");
    } else if (shown_.FileBytes < 0 && !input_->text().isEmpty()) {
        text = Lang("Fichier introuvable", "No such file");
    } else if (shown_.FileBytes >= 0) {
        text = FactsLine(shown_);
        const std::optional<int64_t> estimate =
            EstimateOutputBytes(presets_->itemText(presets_->currentIndex()).toStdString(), shown_, shownPath_.toStdString());
        if (estimate)
            text += "\n" + Lang("Taille estimée après conversion : environ %1", "Estimated size after conversion: about %1")
                               .arg(SizeText(static_cast<double>(*estimate)));
    }
    factsLabel->setText(text);
    factsLabel->setToolTip(text);
    QPixmap still;
    if (!shown_.Still.empty() &&
        still.loadFromData(reinterpret_cast<const uchar*>(shown_.Still.data()), static_cast<uint>(shown_.Still.size()))) {
        const qreal ratio = stillPicture->devicePixelRatioF();
        still = still.scaled(QSize(kStillWidth, kStillHeight) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        still.setDevicePixelRatio(ratio);
    }
    stillPicture->setPixmap(still);
}

}  // namespace transcoda::gui
