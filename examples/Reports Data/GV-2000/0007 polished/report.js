// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 7,
  reportType: "RT_POLISH",
  dateTime: "2025-03-01 12:19:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.59 ct"],
    ["Measurements", "5.20 × 5.24 × 3.22 mm"],
    ["Colour grade", "F"],
    ["Clarity grade", "VVS1"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
