// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-1001",
  reportNumber: 1,
  reportType: "RT_POLISH",
  dateTime: "2026-01-12 09:14:03",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.61 ct"],
    ["Measurements", "6.00 × 6.04 × 3.72 mm"],
    ["Colour grade", "G"],
    ["Clarity grade", "VS1"],
    ["Cut grade", "Excellent"],
    ["Fluorescence", "None"]
  ]
};
