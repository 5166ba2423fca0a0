// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 8,
  reportType: "RT_POLISH",
  dateTime: "2025-03-10 12:56:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.96 ct"],
    ["Measurements", "6.50 × 6.54 × 4.03 mm"],
    ["Colour grade", "G"],
    ["Clarity grade", "VVS2"],
    ["Cut grade", "Good"],
    ["Fluorescence", "Medium"]
  ]
};
