// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 5,
  reportType: "RT_POLISH",
  dateTime: "2025-02-11 11:05:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "0.85 ct"],
    ["Measurements", "5.60 × 5.64 × 3.47 mm"],
    ["Colour grade", "D"],
    ["Clarity grade", "SI1"],
    ["Cut grade", "Good"],
    ["Fluorescence", "Medium"]
  ]
};
