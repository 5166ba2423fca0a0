// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-1003",
  reportNumber: 1,
  reportType: "RT_POLISH",
  dateTime: "2026-04-01 10:00:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "0.83 ct"],
    ["Measurements", "7.80 × 7.84 × 4.84 mm"],
    ["Colour grade", "H"],
    ["Clarity grade", "VS1"],
    ["Cut grade", "Excellent"],
    ["Fluorescence", "None"]
  ]
};
