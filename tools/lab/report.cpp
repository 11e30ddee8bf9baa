// CSV and SVG output of the lab. The SVG is written by hand: two panels
// sharing the generation axis, round ticks, a legend, bands for the spread
// between seeds. Long runs are thinned to at most kMaxPoints per line, each
// kept point taking the extremes of the generations it stands for, so a
// band never looks narrower than it is.
#include "tools/lab/report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

std::string Fixed(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

// Printable ASCII only (anything else becomes '?'), with XML's five escaped.
std::string XmlText(const std::string& text) {
  std::string out;
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += (u >= 0x20 && u < 0x7F) ? c : '?';
    }
  }
  return out;
}

// A tick label: no more decimals than the step needs.
std::string TickLabel(double value, double step) {
  int decimals = 0;
  while (decimals < 6 && std::fabs(step * std::pow(10.0, decimals) -
                                   std::round(step * std::pow(10.0, decimals))) > 1e-6)
    ++decimals;
  if (std::fabs(value) < step * 1e-9) value = 0.0;  // no "-0"
  return Fixed(value, decimals);
}

double NiceStep(double range, int target) {
  if (!(range > 0.0) || target < 1) return 1.0;
  double raw = range / target;
  double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double r = raw / magnitude;
  double nice = r < 1.5 ? 1.0 : r < 3.0 ? 2.0 : r < 7.0 ? 5.0 : 10.0;
  return nice * magnitude;
}

// One plotted series: per kept generation the mean over the seeds and the
// band (lowest and highest seed).
struct Series {
  std::vector<double> x, mean, low, high;
};

constexpr size_t kMaxPoints = 1000;

template <typename Get>
Series Collect(const std::vector<SeedRun>& runs, Get get) {
  Series series;
  if (runs.empty()) return series;
  const size_t count = runs[0].history.size();
  for (const SeedRun& run : runs) {
    if (run.history.size() != count) return series;
  }
  const size_t stride = std::max<size_t>(1, (count + kMaxPoints - 2) / (kMaxPoints - 1));
  // The first point is generation 0 alone, the start every run shares.
  for (size_t start = 0, end = 1; start < count; start = end, end = std::min(count, end + stride)) {
    // The point sits at the bucket's last generation, so the final
    // generation is always drawn; the band spans the whole bucket.
    double sum = 0.0, low = std::numeric_limits<double>::max(), high = -low;
    for (const SeedRun& run : runs) {
      sum += get(run.history[end - 1]);
      for (size_t g = start; g < end; ++g) {
        low = std::min(low, get(run.history[g]));
        high = std::max(high, get(run.history[g]));
      }
    }
    series.x.push_back(runs[0].history[end - 1].generation);
    series.mean.push_back(sum / static_cast<double>(runs.size()));
    series.low.push_back(low);
    series.high.push_back(high);
  }
  return series;
}

// Maps data values to pixels inside one panel.
struct Panel {
  double left, top, width, height;
  double x0, x1, y0, y1;
  double X(double x) const { return left + (x1 > x0 ? (x - x0) / (x1 - x0) : 0.0) * width; }
  double Y(double y) const {
    return top + height - (y1 > y0 ? (y - y0) / (y1 - y0) : 0.0) * height;
  }
};

std::string Point(const Panel& p, double x, double y) {
  return Fixed(p.X(x), 1) + "," + Fixed(p.Y(std::clamp(y, p.y0, p.y1)), 1);
}

void Polyline(std::ostream& out, const Panel& p, const std::vector<double>& xs,
              const std::vector<double>& ys, const char* colour, double width,
              const char* extra = "") {
  out << "<polyline fill=\"none\" stroke=\"" << colour << "\" stroke-width=\"" << width
      << "\" stroke-linejoin=\"round\"" << extra << " points=\"";
  for (size_t i = 0; i < xs.size(); ++i) out << (i ? " " : "") << Point(p, xs[i], ys[i]);
  out << "\"/>\n";
}

// Solid light fills rather than opacity: some SVG renderers ignore it.
void Band(std::ostream& out, const Panel& p, const Series& s, const char* fill) {
  if (s.x.empty()) return;
  out << "<polygon fill=\"" << fill << "\" stroke=\"none\" points=\"";
  for (size_t i = 0; i < s.x.size(); ++i) out << (i ? " " : "") << Point(p, s.x[i], s.high[i]);
  for (size_t i = s.x.size(); i-- > 0;) out << " " << Point(p, s.x[i], s.low[i]);
  out << "\"/>\n";
}

// Frame, grid, ticks and labels of a panel.
void Axes(std::ostream& out, const Panel& p, const std::vector<double>& xTicks,
          const std::vector<double>& yTicks, const std::string& yLabel, bool xLabels) {
  const double xStep = xTicks.size() > 1 ? xTicks[1] - xTicks[0] : 1.0;
  const double yStep = yTicks.size() > 1 ? yTicks[1] - yTicks[0] : 1.0;
  out << "<g stroke=\"#e4e4e4\" stroke-width=\"1\">\n";
  for (double y : yTicks)
    out << "<line x1=\"" << Fixed(p.left, 1) << "\" y1=\"" << Fixed(p.Y(y), 1) << "\" x2=\""
        << Fixed(p.left + p.width, 1) << "\" y2=\"" << Fixed(p.Y(y), 1) << "\"/>\n";
  for (double x : xTicks)
    out << "<line x1=\"" << Fixed(p.X(x), 1) << "\" y1=\"" << Fixed(p.top, 1) << "\" x2=\""
        << Fixed(p.X(x), 1) << "\" y2=\"" << Fixed(p.top + p.height, 1) << "\"/>\n";
  out << "</g>\n";
  out << "<rect x=\"" << Fixed(p.left, 1) << "\" y=\"" << Fixed(p.top, 1) << "\" width=\""
      << Fixed(p.width, 1) << "\" height=\"" << Fixed(p.height, 1)
      << "\" fill=\"none\" stroke=\"#444\" stroke-width=\"1\"/>\n";
  out << "<g font-size=\"13\" fill=\"#333\">\n";
  for (double y : yTicks) {
    out << "<line x1=\"" << Fixed(p.left - 5, 1) << "\" y1=\"" << Fixed(p.Y(y), 1) << "\" x2=\""
        << Fixed(p.left, 1) << "\" y2=\"" << Fixed(p.Y(y), 1) << "\" stroke=\"#444\"/>\n";
    out << "<text x=\"" << Fixed(p.left - 9, 1) << "\" y=\"" << Fixed(p.Y(y) + 4.5, 1)
        << "\" text-anchor=\"end\">" << TickLabel(y, yStep) << "</text>\n";
  }
  for (double x : xTicks) {
    const double bottom = p.top + p.height;
    out << "<line x1=\"" << Fixed(p.X(x), 1) << "\" y1=\"" << Fixed(bottom, 1) << "\" x2=\""
        << Fixed(p.X(x), 1) << "\" y2=\"" << Fixed(bottom + 5, 1) << "\" stroke=\"#444\"/>\n";
    if (xLabels)
      out << "<text x=\"" << Fixed(p.X(x), 1) << "\" y=\"" << Fixed(bottom + 20, 1)
          << "\" text-anchor=\"middle\">" << TickLabel(x, xStep) << "</text>\n";
  }
  out << "</g>\n";
  const double cx = p.left - 62, cy = p.top + p.height / 2;
  out << "<text x=\"" << Fixed(cx, 1) << "\" y=\"" << Fixed(cy, 1)
      << "\" font-size=\"14\" fill=\"#222\" text-anchor=\"middle\" transform=\"rotate(-90 "
      << Fixed(cx, 1) << " " << Fixed(cy, 1) << ")\">" << XmlText(yLabel) << "</text>\n";
}

struct LegendEntry {
  const char* colour;
  const char* label;
  bool dashed;
};

void Legend(std::ostream& out, double right, double top, const std::vector<LegendEntry>& entries,
            const std::string& note) {
  const double width = 270, rowHeight = 20;
  const double height = rowHeight * entries.size() + (note.empty() ? 10 : 30);
  const double left = right - width;
  out << "<rect x=\"" << Fixed(left, 1) << "\" y=\"" << Fixed(top, 1) << "\" width=\"" << width
      << "\" height=\"" << Fixed(height, 1) << "\" fill=\"#ffffff\" stroke=\"#bbb\"/>\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    const double y = top + 16 + rowHeight * i;
    out << "<line x1=\"" << Fixed(left + 12, 1) << "\" y1=\"" << Fixed(y - 4, 1) << "\" x2=\""
        << Fixed(left + 42, 1) << "\" y2=\"" << Fixed(y - 4, 1) << "\" stroke=\""
        << entries[i].colour << "\" stroke-width=\"2.5\""
        << (entries[i].dashed ? " stroke-dasharray=\"7 4\"" : "") << "/>\n";
    out << "<text x=\"" << Fixed(left + 50, 1) << "\" y=\"" << Fixed(y, 1)
        << "\" font-size=\"13\" fill=\"#222\">" << XmlText(entries[i].label) << "</text>\n";
  }
  if (!note.empty())
    out << "<text x=\"" << Fixed(left + 12, 1) << "\" y=\""
        << Fixed(top + 16 + rowHeight * entries.size() + 4, 1)
        << "\" font-size=\"12\" fill=\"#555\">" << XmlText(note) << "</text>\n";
}

}  // namespace

std::vector<double> AxisTicks(double low, double high, int target) {
  std::vector<double> ticks;
  if (!std::isfinite(low) || !std::isfinite(high) || high < low) return ticks;
  if (high == low) return {low};
  const double step = NiceStep(high - low, target);
  const double first = std::ceil(low / step - 1e-9) * step;
  for (int i = 0; i < 1000; ++i) {
    const double tick = first + step * i;
    if (tick > high + step * 1e-9) break;
    ticks.push_back(tick);
  }
  return ticks;
}

void WriteCsv(std::ostream& out, const std::vector<SeedRun>& runs) {
  out << "seed,generation,candidates,best,mean,worst,diversity\n";
  for (const SeedRun& run : runs) {
    for (const GenerationStats& g : run.history) {
      out << run.seed << ',' << g.generation << ',' << g.candidates << ',' << Fixed(g.best, 3)
          << ',' << Fixed(g.mean, 3) << ',' << Fixed(g.worst, 3) << ',' << Fixed(g.diversity, 5)
          << '\n';
    }
  }
}

void WritePlot(std::ostream& out, const std::vector<SeedRun>& runs, const PlotInfo& info) {
  const double width = 960, height = 760;
  Series best = Collect(runs, [](const GenerationStats& g) { return double(g.best); });
  Series mean = Collect(runs, [](const GenerationStats& g) { return g.mean; });
  Series worst = Collect(runs, [](const GenerationStats& g) { return double(g.worst); });
  Series diversity = Collect(runs, [](const GenerationStats& g) { return g.diversity; });

  double lastGeneration = best.x.empty() ? 1.0 : std::max(1.0, best.x.back());
  double top = 0.0;
  for (double v : worst.high) top = std::max(top, v);
  if (info.hasOptimal) top = std::max(top, double(info.optimal));
  if (!(top > 0.0)) top = 1.0;
  std::vector<double> lengthTicks = AxisTicks(0.0, top, 6);
  const double lengthStep = lengthTicks.size() > 1 ? lengthTicks[1] - lengthTicks[0] : top;
  if (!lengthTicks.empty() && lengthTicks.back() < top)
    lengthTicks.push_back(lengthTicks.back() + lengthStep);
  const double lengthTop = lengthTicks.empty() ? top : lengthTicks.back();
  std::vector<double> xTicks = AxisTicks(0.0, lastGeneration, 8);

  Panel lengths{100, 78, 830, 430, 0.0, lastGeneration, 0.0, lengthTop};
  Panel spread{100, 560, 830, 130, 0.0, lastGeneration, 0.0, 1.0};

  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
      << "\" viewBox=\"0 0 " << width << " " << height
      << "\" font-family=\"DejaVu Sans, Verdana, Arial, sans-serif\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  out << "<text x=\"" << width / 2 << "\" y=\"30\" font-size=\"19\" font-weight=\"bold\" "
      << "fill=\"#111\" text-anchor=\"middle\">" << XmlText(info.title) << "</text>\n";
  if (!info.subtitle.empty())
    out << "<text x=\"" << width / 2 << "\" y=\"54\" font-size=\"13.5\" fill=\"#444\" "
        << "text-anchor=\"middle\">" << XmlText(info.subtitle) << "</text>\n";

  const char* kBest = "#1565c0";
  const char* kBestBand = "#a9cdf5";
  const char* kMean = "#f57c00";
  const char* kWorst = "#e57373";
  const char* kOptimal = "#2e7d32";
  const char* kDiversity = "#6a1b9a";
  const bool bands = runs.size() > 1;

  Axes(out, lengths, xTicks, lengthTicks, "tour length (map pixels)", false);
  // The mean and the worst jump from one generation to the next (the
  // children are new every step); their bands would hide everything else,
  // so only the best, which never gets worse, shows its spread.
  if (bands) Band(out, lengths, best, kBestBand);
  Polyline(out, lengths, worst.x, worst.mean, kWorst, 1.1);
  Polyline(out, lengths, mean.x, mean.mean, kMean, 1.3);
  Polyline(out, lengths, best.x, best.mean, kBest, 2.4);
  if (info.hasOptimal) {
    const double y = lengths.Y(info.optimal);
    out << "<line x1=\"" << Fixed(lengths.left, 1) << "\" y1=\"" << Fixed(y, 1) << "\" x2=\""
        << Fixed(lengths.left + lengths.width, 1) << "\" y2=\"" << Fixed(y, 1) << "\" stroke=\""
        << kOptimal << "\" stroke-width=\"1.8\" stroke-dasharray=\"7 4\"/>\n";
    out << "<text x=\"" << Fixed(lengths.left + 10, 1) << "\" y=\"" << Fixed(y + 17, 1)
        << "\" font-size=\"13\" fill=\"" << kOptimal << "\">optimal " << Fixed(info.optimal, 1)
        << "</text>\n";
  }
  if (!best.x.empty())
    out << "<text x=\"" << Fixed(lengths.left + lengths.width - 8, 1) << "\" y=\""
        << Fixed(lengths.Y(best.high.back()) - 8, 1) << "\" font-size=\"13\" fill=\"" << kBest
        << "\" text-anchor=\"end\">best " << Fixed(best.mean.back(), 1) << "</text>\n";
  std::vector<LegendEntry> entries = {{kBest, "best candidate", false},
                                      {kMean, "population mean", false},
                                      {kWorst, "worst candidate", false}};
  if (info.hasOptimal) entries.push_back({kOptimal, "optimal tour", true});
  std::string note =
      bands ? "lines: mean of " + std::to_string(runs.size()) + " seeds; band: range of the best"
            : "";
  Legend(out, lengths.left + lengths.width - 10, lengths.top + 10, entries, note);

  Axes(out, spread, xTicks, AxisTicks(0.0, 1.0, 4), "edge diversity", true);
  Polyline(out, spread, diversity.x, diversity.mean, kDiversity, 1.4);
  out << "<text x=\"" << Fixed(spread.left + 8, 1) << "\" y=\"" << Fixed(spread.top + 17, 1)
      << "\" font-size=\"12\" fill=\"#555\">distinct undirected edges / all edges of the "
         "population</text>\n";
  out << "<text x=\"" << Fixed(spread.left + spread.width / 2, 1) << "\" y=\""
      << Fixed(spread.top + spread.height + 44, 1)
      << "\" font-size=\"14\" fill=\"#222\" text-anchor=\"middle\">generation</text>\n";
  out << "</svg>\n";
}
