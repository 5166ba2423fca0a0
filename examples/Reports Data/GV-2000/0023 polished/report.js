// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 23,
  reportType: "RT_POLISH",
  dateTime: "2025-07-23 22:11:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.51 ct"],
    ["Measurements", "8.00 × 8.04 × 4.96 mm"],
    ["Colour grade", "G"],
    ["Clarity grade", "SI1"],
    ["Cut grade", "Good"],
    ["Fluorescence", "Medium"]
  ]
};
