// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-1001",
  reportNumber: 3,
  reportType: "RT_POLISH",
  dateTime: "2026-02-20 11:02:17",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "0.85 ct"],
    ["Measurements", "5.60 × 5.64 × 3.47 mm"],
    ["Colour grade", "D"],
    ["Clarity grade", "SI1"],
    ["Cut grade", "Good"],
    ["Fluorescence", "Medium"]
  ],
  notes: "Girdle repolished; weight loss 0.02 ct."
};
