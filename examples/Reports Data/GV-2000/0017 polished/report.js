// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 17,
  reportType: "RT_POLISH",
  dateTime: "2025-05-30 18:29:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "0.79 ct"],
    ["Measurements", "6.20 × 6.24 × 3.84 mm"],
    ["Colour grade", "F"],
    ["Clarity grade", "SI1"],
    ["Cut grade", "Good"],
    ["Fluorescence", "Medium"]
  ]
};
