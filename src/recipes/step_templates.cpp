#include "recipes/step_templates.h"

#include <array>
#include <stdexcept>

#include "exec/app_state.h"
#include "platform/command_line.h"
#include "recipes/dvd_paths.h"
#include "exec/tool_names.h"

namespace transcoda {

namespace {

constexpr StepTemplate kTemplates[] = {
    {"720p", utilitymff3,
     R"(-i {input} -vcodec mpeg4 -b 4500k -vtag XVID -sameq -s 1280x720 -r 25 -an -f avi -copyts -benchmark {tempavi})"},
    {"1080p", utilitymff3,
     R"(-i {input} -vcodec mpeg4 -b 4200k -vtag XVID -sameq -s 1920x1080 -r 25 -an -f avi -copyts -benchmark {tempavi})"},
    {"hdToVideoTraitable", utilitymff3,
     R"(-i {input} -vcodec mpeg4 -b 4500k -vtag XVID -sameq -r 25 -an -f avi -copyts -benchmark {tempavi})"},
    {"mpeg720p256", utilitymff3,
     R"(-i {input} -b 4200k -s 1280x720 -ar 44100 -ac 2 -ab 256k -y {output})"},
    {"mpeg480p128", utilitymff3,
     R"(-i {input} -b 4200k -s 640x480 -ar 44100 -ac 2 -ab 128k -y {output})"},
    {"mpeg360p128", utilitymff3,
     R"(-i {input} -b 4200k -s 480x360 -ar 44100 -ac 2 -ab 128k -y {output})"},
    {"mpeg240p128", utilitymff3,
     R"(-i {input} -b 4200k -s 320x240 -ar 44100 -ac 2 -ab 128k -y {output})"},
    {"mpeg720p256asf", utilitymen,
     R"({input} -ovc xvid -xvidencopts chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000 -oac mp3lame -lameopts abr:br=192 -vf scale=1280:720 -o {output})"},
    {"mpeg480p128asf", utilitymen,
     R"({input} -ovc xvid -xvidencopts chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000 -oac mp3lame -lameopts abr:br=192 -vf scale=640:480 -o {output})"},
    {"mpeg360p128asf", utilitymen,
     R"({input} -ovc xvid -xvidencopts chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000 -oac mp3lame -lameopts abr:br=192 -vf scale=480:360 -o {output})"},
    {"mpeg240p128asf", utilitymen,
     R"({input} -ovc xvid -xvidencopts chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000 -oac mp3lame -lameopts abr:br=192 -vf scale=320:240 -o {output})"},
    {"mp3rate128", utilitymff,
     R"( -title {webtitle} -i {input} -acodec mp3 -ac 2 -ab 128 -vn -y {output})"},
    {"mp3rate256", utilitymff,
     R"( -title {webtitle} -i {input} -acodec mp3 -ac 2 -ab 256 -vn -y {output})"},
    {"wave", utilitymff,
     R"( -title {webtitle} -i {input} -ac 2 -y {output})"},
    {"mp3rate128hd", utilitymff3,
     R"( -metadata title="Transcoda Media Converter" -metadata author={web} -metadata comment="Created by Transcoda software" -i {input} -vn -ar 44100 -ac 2 -ab 128k -f mp3 {output})"},
    {"mp3rate256hd", utilitymff3,
     R"( -metadata title="Transcoda Media Converter" -metadata author={web} -metadata comment="Created by Transcoda software" -i {input} -vn -ar 44100 -ac 2 -ab 256k -f mp3 {output})"},
    {"wavehd", utilitymff3,
     R"( -i {input} {output})"},
    {"wmvNotFormMTS-M2TS", utilitymen2,
     R"( {input} -o {output} -forceidx -ofps 25 -ovc lavc -lavcopts vcodec=wmv2 -oac lavc -lavcopts acodec=wmav2:abitrate=96 -of lavf -srate 44100)"},
    {"rawPcm", utilitymen2,
     R"( {input} -o {output} -ovc raw -oac pcm)"},
    {"flv263bq", utilitymff3,
     R"( -i {input} -sameq -b 4200k -ar 44100 -ac 2 -ab 256k -y {output})"},
    {"flv263q1", utilitymff3,
     R"( -i {input} -sameq -b 920k -r 15 -ar 11025 -s 352x288 -ac 2 -ab 64k -y {output})"},
    {"flv263q2", utilitymff3,
     R"( -i {input} -sameq -b 780k -r 15 -ar 11025 -s 320x240 -ac 2 -ab 48k -y {output})"},
    {"flv263q3", utilitymff3,
     R"( -i {input} -sameq -b 480k -r 15 -ar 11025 -s 176x144 -ac 2 -ab 24k -y {output})"},
    {"flv264bq", utilitymen2,
     R"( -oac mp3lame -lameopts cbr:br=256 -ovc x264 -x264encopts bitrate=4200 {input} -o {output})"},
    {"flv264q1", utilitymen,
     R"( -oac mp3lame -lameopts cbr:br=112 -ovc x264 -x264encopts bitrate=920 -ofps 20 {input} -o {output})"},
    {"3gpAAC", utilitymff3,
     R"( -i {input} -s qcif -vcodec mpeg4 -b 104k -acodec aac -ac 1 -ar 32000 -r 15 -ab 128k -y {output})"},
    {"3gpAMR1", utilitymffx,
     R"( -i {input} -s qcif -vcodec mpeg4 -b 64k -s 176x144 -acodec libamr_nb -ac 1 -ar 8000 -r 12 -ab 12.2k -y {output})"},
    {"3gpAMR2", utilitymffx,
     R"( -i {input} -s qcif -vcodec mpeg4 -b 44k -s 128x96 -acodec libamr_nb -ac 1 -ar 8000 -r 10 -ab 12.2k -y {output})"},
    {"3gpAMR3", utilitymffx,
     R"( -i {input} -s qcif -vcodec h263 -b 240k -s 176x144 -acodec libamr_nb -ac 1 -ar 8000 -r 12 -ab 12.2k -y {output})"},
    {"3gpAMR4", utilitymffx,
     R"( -i {input} -s qcif -vcodec h263 -b 140k -s 128x96 -acodec libamr_nb -ac 1 -ar 8000 -r 10 -ab 12.2k -y {output})"},
    {"QtH264hd", utilitymffx,
     R"( -i {input} -s 848x480 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -crf 22 -threads 0 {output})"},
    {"QtH264dvd", utilitymffx,
     R"( -i {input} -s 720x576 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -crf 22 -threads 0 {output})"},
    {"QtH263sd", utilitymff3,
     R"( -i {input} -s 176x144 -vcodec h263 -acodec libmp3lame -ac 2 -ar 44100 -ab 128k -y {output})"},
    {"QtH263oq", utilitymff3,
     R"( -i {input} -s 352x288 -vcodec h263 -acodec libmp3lame -ac 2 -ar 44100 -ab 128k -y {output})"},
    {"QtMpeg4hq", utilitymff3,
     R"( -i {input} -vcodec mpeg4 -acodec libmp3lame -ac 2 -ar 44100 -ab 128k -y {output})"},
    {"QtMpeg4bq", utilitymff3,
     R"( -i {input} -vcodec mpeg4 -acodec libmp3lame -ac 2 -ar 44100 -ab 96k -y {output})"},
    {"IpodSmal", utilitymffx,
     R"( -i {input} -s 320x240 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 30 -crf 22 -threads 0 {output})"},
    {"IpodNorml", utilitymffx,
     R"( -i {input} -s 640x480 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 30 -crf 22 -threads 0 {output})"},
    {"IphoneItouch", utilitymffx,
     R"( -i {input} -s 640x420 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 30 -crf 22 -threads 0 {output})"},
    {"Ps3HD", utilitymffx,
     R"( -i {input} -s 848x480 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 29.97 -crf 22 -threads 0 {output})"},
    {"Ps3NQ", utilitymffx,
     R"( -i {input} -s 368x208 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 29.97 -crf 22 -threads 0 {output})"},
    {"Ps3HQ", utilitymffx,
     R"( -i {input} -s 480x272 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 29.97 -crf 22 -threads 0 {output})"},
    {"XboxHD", utilitymffx,
     R"( -i {input} -s 848x480 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 29.97 -crf 22 -threads 0 {output})"},
    {"IpodMpeg4", utilitymff3,
     R"( -i {input} -s 320x240 -f mp4 -maxrate 1000 -b 300 -qmin 3 -qmax 5 -bufsize 4096 -g 300 -r 30 -vcodec mpeg4 -acodec aac -ar 48000 -ab 96k {output})"},
    {"Video-Synchro", utilitymen,
     R"( {input} -oac mp3lame -lameopts cbr:br=128 -ovc copy -delay {delay} -o {output})"},
    {"Video-Extraction", utilitymen2,
     R"( {input} -oac mp3lame -lameopts cbr:br=128 -ovc copy -o {output} -ss {start} -endpos {length})"},
    {"Video-Extraction-FromMTSetCompagnie", utilitymff3,
     R"( -ss {start} -t {length} -i {input} -b 4200k -s 640x480 -ar 44100 -ac 2 -ab 128k -y {output})"},
    {"DVD-ntsc", utilitymff3,
     R"( -i {input} -target ntsc-dvd -aspect 4:3 -sameq {dvdstream})"},
    {"DVD-ntsc-wmv", utilitymffx,
     R"( -i {input} -target ntsc-dvd -aspect 4:3 -sameq {dvdstream})"},
    {"DVD-pal", utilitymff3,
     R"( -i {input} -target pal-dvd -aspect 4:3 -sameq {dvdstream})"},
    {"DVD-authoring", utilityoth,
     R"( --title -f {dvdstream} -o {dvdfolder})"},
    {"DVD-finalization", utilityoth,
     R"( -T -o {dvdfolder})"},
};

}  // namespace

std::span<const StepTemplate> StepTemplates() { return kTemplates; }

const StepTemplate* FindStepTemplate(std::string_view code) {
    for (const StepTemplate& entry : kTemplates) {
        if (entry.Code == code) return &entry;
    }
    return nullptr;
}

std::string ExpandTemplate(std::string_view pattern, TemplateValues values) {
    std::string result;
    result.reserve(pattern.size() + 256);
    std::string_view::size_type pos = 0;
    while (pos < pattern.size()) {
        const auto open = pattern.find('{', pos);
        if (open == std::string_view::npos) {
            result.append(pattern.substr(pos));
            break;
        }
        const auto close = pattern.find('}', open);
        if (close == std::string_view::npos) throw std::logic_error("unclosed placeholder");
        result.append(pattern.substr(pos, open - pos));
        const std::string_view name = pattern.substr(open + 1, close - open - 1);
        bool found = false;
        for (const auto& [key, value] : values) {
            if (key == name) {
                result += value;
                found = true;
                break;
            }
        }
        if (!found) throw std::logic_error("unknown placeholder {" + std::string(name) + "}");
        pos = close + 1;
    }
    return result;
}

std::string HelperToolPath(std::string_view tool) { return App().HelperFolder() + std::string(tool); }

std::string TempStem(const ConversionSession& session) { return App().IntermediateFolder() + session.TempBaseName; }

std::string FormatStepCommandLine(const std::string& code, const std::string& input, const std::string& output,
                                  const SpecialValues& values, const std::string& tempStem) {
    const StepTemplate* step = FindStepTemplate(code);
    if (step == nullptr) return {};
    const std::string web = kProductWebAddress;
    const std::string arguments = ExpandTemplate(
        step->Arguments, {{"input", Q(input)},
                          {"output", Q(output)},
                          {"tempavi", Q(tempStem + ".avi")},
                          {"dvdstream", Q(DvdStreamPath(output))},
                          {"dvdfolder", Q(DvdFolderPath(output))},
                          {"web", Q(web)},
                          {"webtitle", Q("Transcoda-" + web)},
                          {"delay", values.SyncDelay},
                          {"start", values.ExtractionStart},
                          {"length", values.ExtractionLength}});
    return HelperToolPath(step->Tool) + " " + arguments;
}

}  // namespace transcoda
