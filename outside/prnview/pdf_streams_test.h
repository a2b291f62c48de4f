// The streams of a PDF file inflated one after the other, for tests that read the drawn
// operators back now that the pages are compressed.
#pragma once
#include <zlib.h>

#include <string>

// A stream that is not whole Flate data shows as "<not Flate>".
inline std::string InflatedStreams(const std::string &pdf) {
    static const std::string kBegin = "stream\n", kEnd = "\nendstream";
    std::string out;
    for (size_t at = pdf.find(kBegin); at != std::string::npos; at = pdf.find(kBegin, at)) {
        at += kBegin.size();
        const size_t end = pdf.find(kEnd, at);
        if (end == std::string::npos)
            break;
        z_stream z{};
        inflateInit(&z);
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(pdf.data() + at));
        z.avail_in = static_cast<uInt>(end - at);
        int rc;
        do {
            char buf[16384];
            z.next_out = reinterpret_cast<Bytef *>(buf);
            z.avail_out = sizeof buf;
            rc = inflate(&z, Z_NO_FLUSH);
            out.append(buf, sizeof buf - z.avail_out);
        } while (rc == Z_OK);
        inflateEnd(&z);
        if (rc != Z_STREAM_END)
            out += "<not Flate>";
        at = end + kEnd.size();
    }
    return out;
}
