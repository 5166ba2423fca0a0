// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 11,
  reportType: "RT_POLISH",
  dateTime: "2025-04-06 14:47:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.57 ct"],
    ["Measurements", "7.40 × 7.44 × 4.59 mm"],
    ["Colour grade", "E"],
    ["Clarity grade", "SI1"],
    ["Cut grade", "Good"],
    ["Fluorescence", "Medium"]
  ]
};
